// quorbel: the story window. Works in the current folder (the story material), or in the one
// given with --data DIR.
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/qt/Form1.h"

namespace {

std::uint64_t ClockSeed() {
  return static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

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

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path data = std::filesystem::current_path();
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc) {
      data = argv[++i];
    } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::printf("usage: quorbel [--data DIR]\n"
                  "Composes detective stories from the story material in DIR (default: the current folder).\n");
      return 0;
    }
  }
  if (!HasDisplay()) {
    std::fprintf(stderr, "quorbel: no display: set DISPLAY or WAYLAND_DISPLAY to open the window\n");
    return 2;
  }
  std::error_code ec;
  if (!std::filesystem::is_directory(data, ec)) {
    std::fprintf(stderr, "quorbel: no story material folder: %s\n", data.string().c_str());
    return 2;
  }

  QtMessageHandler previous = qInstallMessageHandler(QuietStartup);
  QApplication app(argc, argv);
  qInstallMessageHandler(previous);

  quorbel::SeededRandom rng(ClockSeed());
  quorbel::ui::Form1 window(quorbel::DataDir(data), rng, [&rng] { rng = quorbel::SeededRandom(ClockSeed()); });
  window.show();
  return app.exec();
}
