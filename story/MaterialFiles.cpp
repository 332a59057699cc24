#include "story/MaterialFiles.h"

#include "story/Numbers.h"

namespace quorbel {
namespace {

// Reads records with read until the end of the file or the first fault, which is kept.
template <typename Read>
std::optional<ReadFault> ReadRecords(InputFile& f, Read read) {
  while (!f.Eof()) {
    const int start = f.LineNumber();
    try {
      read(start);
    } catch (const DataError& e) {
      return ReadFault{e, start, f.Eof()};
    }
  }
  return std::nullopt;
}

}  // namespace

bool HasStem(std::string_view name, const char16_t* stem) { return name.starts_with(ToUtf8(stem)); }

StyleCatalogue ParseStyleCatalogue(InputFile& f) {
  StyleCatalogue m;
  m.name = f.name();
  m.lineCount = f.LineCount();
  const auto& lines = f.lines();
  for (std::size_t k = 0; k + 1 < lines.size(); k += 2)
    m.styles.push_back({static_cast<int>(k) + 1, lines[k], lines[k + 1]});
  m.oddLine = lines.size() % 2 != 0;
  return m;
}

std::shared_ptr<const StyleCatalogue> OpenStyleCatalogue(const DataDir& dir) {
  return dir.Parsed<StyleCatalogue>(kStyleCatalogue, ParseStyleCatalogue);
}

DataError MissingStyleName(const StyleCatalogue& m) {
  return DataError(m.name, m.lineCount + 1, ProblemId::StyleNameExpected);
}

LineFile ParseLineFile(InputFile& f) {
  LineFile m;
  m.name = f.name();
  while (!f.Eof()) {
    const int line = f.LineNumber();
    m.lines.push_back({line, f.ReadLine()});
  }
  return m;
}

std::shared_ptr<const LineFile> OpenThemeCatalogue(const DataDir& dir, TextView styleFolder) {
  Text rel(styleFolder);
  if (!rel.empty() && rel.back() != u'/') rel += u'/';
  return dir.Parsed<LineFile>(rel + kThemeCatalogue, ParseLineFile);
}

std::shared_ptr<const LineFile> OpenTitleWords(const DataDir& dir, TextView relName) {
  return dir.Parsed<LineFile>(relName, ParseLineFile);
}

PersonFile ParsePersonFile(InputFile& f) {
  PersonFile m;
  m.name = f.name();
  m.fault = ReadRecords(f, [&](int line) { m.persons.push_back({line, f.ReadTextField()}); });
  return m;
}

std::shared_ptr<const PersonFile> OpenPersonFile(const DataDir& dir, TextView relName) {
  return dir.Parsed<PersonFile>(relName, ParsePersonFile);
}

VariantFile ParseVariantFile(InputFile& f) {
  VariantFile m;
  m.name = f.name();
  m.fault = ReadRecords(f, [&](int line) {
    Variant v;
    v.line = line;
    v.note = f.ReadLine();
    v.weightLine = f.LineNumber();
    v.weightText = f.ReadTextField();
    v.weight = LenientNumber(v.weightText);
    m.variants.push_back(std::move(v));
  });
  return m;
}

std::shared_ptr<const VariantFile> OpenVariantFile(const DataDir& dir, TextView relName) {
  return dir.Parsed<VariantFile>(relName, ParseVariantFile);
}

ShadeFile ParseShadeFile(InputFile& f) {
  ShadeFile m;
  m.name = f.name();
  m.fault = ReadRecords(f, [&](int line) {
    ShadeGroup g;
    g.line = line;
    g.levelText = f.ReadTextField();
    g.level = LenientNumber(g.levelText);
    g.titleLine = f.LineNumber();
    g.title = f.ReadLine();
    g.flagLine = f.LineNumber();
    g.flagText = f.ReadTextField();
    g.flag = LenientNumber(g.flagText);
    while (!f.Eof()) {
      const int at = f.LineNumber();
      Text text = f.ReadLine();
      if (text.empty()) break;
      g.lines.push_back({at, std::move(text)});
    }
    m.groups.push_back(std::move(g));
  });
  return m;
}

std::shared_ptr<const ShadeFile> OpenShadeFile(const DataDir& dir, TextView relName) {
  return dir.Parsed<ShadeFile>(relName, ParseShadeFile);
}

QuestionFile ParseQuestionFile(InputFile& f) {
  QuestionFile m;
  m.name = f.name();
  for (int q = 1; q <= kQuestionCount || !f.Eof(); ++q) {
    const int line = f.LineNumber();
    try {
      m.questions.push_back({line, f.ReadLine()});
    } catch (const DataError& e) {
      m.fault = ReadFault{e, line, true};
      break;
    }
  }
  return m;
}

std::shared_ptr<const QuestionFile> OpenQuestionFile(const DataDir& dir, TextView relName) {
  return dir.Parsed<QuestionFile>(relName, ParseQuestionFile);
}

}  // namespace quorbel
