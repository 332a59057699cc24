#pragma once
// Shared helpers of the window tests: a generator whose first draws are scripted, copies of the
// fixture material in a temporary folder, and lookups of controls by name.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <filesystem>
#include <initializer_list>

#include "story/Random.h"

namespace quorbel::testing {

// Scripted draws first (the secret code, where the order matters), then a fixed-seed sequence for
// the rest of the story build, so every run tells the same story.
class ScriptedRandom final : public Random {
 public:
  explicit ScriptedRandom(std::uint64_t seed = 7) : rest_(seed) {}
  void Script(std::initializer_list<double> values) { script_.insert(script_.end(), values); }
  // Four draws that make Int(Rnd * 10) give the digits of code, e.g. "3071".
  void ScriptCode(const char* code) {
    for (int i = 0; i < 4; ++i) script_.push_back((code[i] - '0' + 0.5) / 10.0);
  }
  std::size_t scriptLeft() const { return script_.size(); }
  double Rnd() override {
    if (script_.empty()) return rest_.Rnd();
    const double v = script_.front();
    script_.pop_front();
    return v;
  }

 private:
  std::deque<double> script_;
  SeededRandom rest_;
};

// Copies a folder of fixtures into dir (recursively).
inline bool CopyTree(const QString& from, const QString& to) {
  std::error_code ec;
  std::filesystem::copy(from.toStdString(), to.toStdString(),
                        std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing,
                        ec);
  return !ec;
}

inline QString FixtureStory() { return QStringLiteral(QUORBEL_FIXTURES "/story"); }

template <typename W = QWidget>
W* Find(QObject* root, const QString& name) {
  W* w = root->findChild<W*>(name);
  if (!w) qWarning("no control named %s", qPrintable(name));
  return w;
}

inline QLabel* Label(QObject* root, int n) { return Find<QLabel>(root, QStringLiteral("Label%1").arg(n)); }
inline QPushButton* Button(QObject* root, int n) {
  return Find<QPushButton>(root, QStringLiteral("Command%1").arg(n));
}

// Bytes of a file, or empty when it cannot be read.
inline QByteArray FileBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

}  // namespace quorbel::testing
