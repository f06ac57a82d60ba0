// The window tests run on the offscreen platform unless told otherwise.
#include <gtest/gtest.h>

#include <QApplication>

// Leaks the leak checker finds inside outside libraries, which this program cannot free: libwmf
// keeps the picture it drew into, and the sound system (PulseAudio through GStreamer and GLib)
// keeps its start-up state. Read by the sanitizer runtime in a sanitized build only.
extern "C" const char *__lsan_default_suppressions() {
  // The last one is reached from the sound system with a stack the checker does not keep.
  return "leak:libwmf-0.2.so\nleak:libpulse.so\nleak:libpulsecommon\nleak:libglib-2.0.so\nleak:libgst\n"
         "leak:__vasprintf_internal\n";
}

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
