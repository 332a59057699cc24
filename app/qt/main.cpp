// quorbel: the story window. Works in the folder given with --data DIR, else in the current folder
// when it holds the story material, else on the installed material (see story/Places.h).
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "app/StoryNumber.h"
#include "app/qt/ErrorBox.h"
#include "app/qt/Form1.h"
#include "story/Places.h"

namespace {

bool HasDisplay() {
#if defined(__linux__) || defined(__FreeBSD__)
  auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
  };
  return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
#else
  return true;
#endif
}

// The platform plugin aborts when the display cannot be reached, after several lines of advice;
// say why in one line and exit with a status instead of a crash.
QString startupReason;
void QuietStartup(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  const bool platform = context.category && std::strncmp(context.category, "qt.qpa", 6) == 0;
  if (type == QtFatalMsg) {
    const QString reason = !startupReason.isEmpty() ? startupReason : message.section('\n', 0, 0);
    std::fprintf(stderr, "quorbel: cannot open a window: %s\n", reason.toLocal8Bit().constData());
    std::_Exit(2);
  }
  if (platform) {
    if (startupReason.isEmpty()) startupReason = message;
    return;
  }
  std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

// Said in the terminal and in a box, since a program started from the menu has no terminal.
void NoMaterial(const std::vector<std::filesystem::path>& looked) {
  std::fprintf(stderr, "quorbel: %s\n", quorbel::NoMaterialMessage(looked).c_str());
  QString folders;
  for (const auto& f : looked) folders += QStringLiteral("\n    ") + QString::fromStdString(f.string());
  quorbel::RunErrorBox(QStringLiteral("Составитель рассказов"),
                       QStringLiteral("Не найден материал рассказов (файл styles.qrb). Искали в папках:") + folders +
                           QStringLiteral("\n\nУкажите папку с материалом: quorbel --data ПАПКА"),
                       QStringLiteral("noMaterialBox"));
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path data;
  std::optional<std::uint64_t> seed;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc) {
      data = argv[++i];
    } else if (std::strcmp(argv[i], "--seed") == 0) {
      if (i + 1 < argc) seed = quorbel::ParseStoryNumber(argv[++i]);
      if (!seed) {
        std::fprintf(stderr, "quorbel: --seed needs a story number, a whole number from 0 to 18446744073709551615\n");
        return 2;
      }
    } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::printf("usage: quorbel [--data DIR] [--seed N]\n"
                  "Composes detective stories from the story material in DIR; without it, in the current folder\n"
                  "when it holds styles.qrb, else from the installed material, with quorbel.cfg kept in\n"
                  "$XDG_CONFIG_HOME/quorbel (default ~/.config/quorbel) and stories saved to the documents folder.\n"
                  "--seed N tells story number N first.\n");
      return 0;
    } else if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("quorbel %s\n", QUORBEL_VERSION);
      return 0;
    }
  }
  if (!HasDisplay()) {
    std::fprintf(stderr, "quorbel: no display: set DISPLAY or WAYLAND_DISPLAY to open the window\n");
    return 2;
  }
  std::error_code ec;
  if (!data.empty() && !std::filesystem::is_directory(data, ec)) {
    std::fprintf(stderr, "quorbel: no story material folder: %s\n", data.string().c_str());
    return 2;
  }

  QtMessageHandler previous = qInstallMessageHandler(QuietStartup);
  QApplication app(argc, argv);
  qInstallMessageHandler(previous);
  const quorbel::PlacesChoice where = quorbel::ChoosePlaces(data, quorbel::CurrentSurroundings());
  if (!where.places) {
    NoMaterial(where.looked);
    return 1;
  }

  quorbel::NumberedRandom rng;
  if (seed) rng.Ask(*seed);
  quorbel::ui::Form1 window(quorbel::OpenPlaces(*where.places), rng,
                            [&rng] { rng.Reseed(quorbel::FreshStoryNumber(quorbel::ClockSeed())); });
  window.SetStoryNumbers(&rng);
  window.show();
  return app.exec();
}
