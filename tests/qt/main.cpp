// The Qt tests run inside one QApplication, on the offscreen platform unless told otherwise.
#include <gtest/gtest.h>

#include <QApplication>

// Qt Multimedia opens the PulseAudio client library when it starts, which keeps its context
// until the process ends; LeakSanitizer (the sanitizer build) is told that this is not ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libpulse.so\n"; }

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
