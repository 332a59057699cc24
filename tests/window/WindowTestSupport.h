#pragma once
// Shared helpers of the window tests: copies of the fixture material in a temporary folder, and
// lookups of controls by name.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <filesystem>
#include <initializer_list>

#include "tests/ScriptedRandom.h"

namespace quorbel::testing {

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
