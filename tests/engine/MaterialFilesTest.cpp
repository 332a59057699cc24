// The one reading of the catalogue, person, variant and shade files.
#include <gtest/gtest.h>

#include "phrases/PhraseFile.h"
#include "story/Episodes.h"
#include "story/MaterialFiles.h"

namespace quorbel {
namespace {

InputFile File(TextView content) { return InputFile::FromText(content, "f.qrb"); }

TEST(MaterialFiles, ItemsKeepTheirLinesAndAFaultStopsTheReading) {
  InputFile styles = File(u"classic\r\nКлассика\r\nironic\r\n");
  StyleCatalogue catalogue = ParseStyleCatalogue(styles);
  ASSERT_EQ(catalogue.styles.size(), 1u);
  EXPECT_EQ(catalogue.styles[0].line, 1);
  EXPECT_EQ(ToUtf8(catalogue.styles[0].displayName), "Классика");
  EXPECT_TRUE(catalogue.oddLine);

  InputFile persons = File(u"Иван|ов1,Пётр2\r\n\"Анна3\r\n");
  PersonFile people = ParsePersonFile(persons);
  ASSERT_EQ(people.persons.size(), 2u);
  EXPECT_EQ(people.persons[1].line, 1);
  EXPECT_EQ(ToUtf8(people.persons[1].text), "Пётр2");
  ASSERT_TRUE(people.fault);
  EXPECT_FALSE(people.fault->atEnd);
  EXPECT_STREQ(people.fault->error.what(), "f.qrb: line 2: a quoted field without its closing quote");

  InputFile variants = File(u"первый\r\n 7x\r\nвторой\r\n");
  VariantFile plot = ParseVariantFile(variants);
  ASSERT_EQ(plot.variants.size(), 1u);
  EXPECT_EQ(plot.variants[0].weightLine, 2);
  EXPECT_EQ(ToUtf8(plot.variants[0].weightText), "7x");
  EXPECT_EQ(plot.variants[0].weight, 7);
  ASSERT_TRUE(plot.fault);
  EXPECT_TRUE(plot.fault->atEnd);
  EXPECT_EQ(plot.fault->recordLine, 3);
}

TEST(MaterialFiles, ShadeGroupsEndAtAnEmptyLine) {
  InputFile f = File(u"0\r\nвзгляд\r\n1\r\nхмурый\r\nкосой\r\n\r\n2,тон\r\n0\r\n");
  ShadeFile shades = ParseShadeFile(f);
  ASSERT_EQ(shades.groups.size(), 2u);
  EXPECT_EQ(shades.groups[0].flag, 1);
  ASSERT_EQ(shades.groups[0].lines.size(), 2u);
  EXPECT_EQ(shades.groups[0].lines[1].line, 5);
  EXPECT_EQ(shades.groups[1].level, 2);
  EXPECT_EQ(shades.groups[1].titleLine, 7);
  EXPECT_EQ(ToUtf8(shades.groups[1].title), "тон");
  EXPECT_TRUE(shades.groups[1].lines.empty());
  EXPECT_FALSE(shades.fault);
}

TEST(MaterialFiles, EpisodeRecordsAsWrittenGoPastTheStorysFault) {
  InputFile f = File(u"1\r\nа\r\n50\r\n0\r\n../x\r\n1-2\r\n0-5\r\n2\r\nб\r\n100\r\n");
  EpisodeFile m = ParseEpisodeFile(f);
  EXPECT_TRUE(m.records.empty());
  ASSERT_TRUE(m.fault);
  EXPECT_STREQ(m.fault->what(), "f.qrb: line 5: the name \"../x\" leads out of the material folder");
  ASSERT_EQ(m.written.size(), 1u);
  EXPECT_EQ(m.written[0].minutes.line, 7);
  ASSERT_TRUE(m.cut);
  EXPECT_EQ(m.cut->recordLine, 8);
  EXPECT_EQ(m.cutRecord.reads, 3);

  InputFile finals = File(u"3\r\nконец\r\nfin\r\n");
  FinalFile last = ParseFinalFile(finals);
  ASSERT_EQ(last.written.size(), 1u);
  EXPECT_EQ(last.written[0].phraseFile.line, 3);
  EXPECT_FALSE(last.cut);
}

TEST(MaterialFiles, MalformedPlansAreReadWholeAndTheRecordsStillRead) {
  InputFile f = File(u"1 аа1  аб0|1|2\r\n2 б1|0\r\n\r\n\r\nаа\r\nусловия\r\nтекст\r\n\r\nфакт\r\n");
  phrases::PhraseFile m = phrases::ParsePhraseFile(f);
  ASSERT_EQ(m.plans.size(), 2u);
  EXPECT_TRUE(m.plans[0].emptyWord);
  EXPECT_EQ(m.plans[0].keys.size(), 2u);
  EXPECT_FALSE(m.plans[1].bars);
  ASSERT_TRUE(m.planFault);
  EXPECT_EQ(m.planFault->line, 1);
  EXPECT_EQ(m.planFault->problem, "an empty plan word");
  ASSERT_EQ(m.records.size(), 1u);
  EXPECT_EQ(m.records[0].line, 4);
  EXPECT_EQ(ToUtf8(m.records[0].fact), "факт");
}

}  // namespace
}  // namespace quorbel
