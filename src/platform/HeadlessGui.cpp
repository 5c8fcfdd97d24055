#include "platform/HeadlessGui.h"

#include <QByteArray>
#include <QGuiApplication>

#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

void EnsureHeadlessGui() {
    if (QGuiApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Without a desktop login (a script, a build machine) Qt would warn that
    // it has no runtime folder; a private one in the temporary folder will do.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const std::string folder = "/tmp/demla-runtime-" + std::to_string(::getuid());
        if (::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) {
            qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(folder));
        }
    }
    static int argc = 1;
    static char name[] = "demla";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}
