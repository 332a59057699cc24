// The window's Russian words for the engine's faults.
#include <gtest/gtest.h>

#include <stdexcept>

#include "app/Messages.h"
#include "story/DataError.h"

namespace quorbel {
namespace {

TEST(Messages, AFaultKeepsItsFileAndLineInRussian) {
  EXPECT_EQ(FaultText(DataError("classic/n_1_arr2.qrb", 0, "file not found")),
            "classic/n_1_arr2.qrb: файл не найден.");
  EXPECT_EQ(FaultText(DataError("det/osn_1_1.qrb", 4, "end of file where a line was expected")),
            "det/osn_1_1.qrb, строка 4: файл кончился там, где должна быть строка.");
  // Details after a known start, and numbers inside, do not hide what the fault is.
  EXPECT_EQ(FaultText(DataError("styles.qrb", 3, "end of file where a line was expected (the style's display name)")),
            "styles.qrb, строка 3: файл кончился там, где должна быть строка.");
  EXPECT_EQ(FaultText(DataError("quorbel.cfg", 7, "season 7 is outside 0..4")),
            "quorbel.cfg, строка 7: значение вне допустимых пределов.");
  EXPECT_EQ(FaultText(DataError("qrb.txt", 0, "cannot be written: Permission denied")),
            "qrb.txt: файл не записывается.");
  EXPECT_EQ(RussianProblem("more than 12 title words"), "слишком много слов для названия");
  EXPECT_EQ(RussianProblem("more than 100 groups"), "больше 100 групп");
  EXPECT_EQ(RussianProblem("the name \"../x\" leads out of the material folder"),
            "имя файла ведёт за пределы папки с материалом");
}

TEST(Messages, AnUnknownFaultIsStillRussianAndPlaced) {
  EXPECT_EQ(FaultText(DataError("det/x.qrb", 9, "something new went wrong")), "det/x.qrb, строка 9: ошибка в данных.");
  EXPECT_EQ(FaultText(std::runtime_error("boom")), "ошибка в данных.");
  EXPECT_EQ(RussianProblem("file not foundation"), "ошибка в данных");
}

// A fault that came as English text is read back as the problem it words, so the window says
// the same for it as for the problem itself: no wording is taken for another that comes first.
TEST(Messages, EveryProblemIsKnownAgainByItsEnglish) {
  for (int i = 0; i < kProblemCount; ++i) {
    const Problem p = Problem::Of(static_cast<ProblemId>(i), "7", "8", "9");
    const auto read = ProblemOfText(p.English());
    ASSERT_TRUE(read) << p.English();
    EXPECT_EQ(static_cast<int>(read->id), i) << p.English();
    EXPECT_EQ(FaultText(DataError("f.qrb", 2, p.English())), FaultText(DataError("f.qrb", 2, p))) << p.English();
  }
}

}  // namespace
}  // namespace quorbel
