#include "gui/GuiMain.h"

#include "core/ExceptionReports.h"
#include "gui/DesktopIntegration.h"
#include "gui/MainWindow.h"
#include "gui/Resources.h"
#include "platform/QtPrompt.h"
#include "view/LCmdLineIter.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <string>

int RunGui(int argc, char** argv) {
    QApplication application(argc, argv);
    InitDemlaResources();
    QApplication::setApplicationName(QStringLiteral("Demla"));
    QApplication::setApplicationVersion(QStringLiteral(DEMLA_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/demla.svg")));
    QApplication::setDesktopFileName(QStringLiteral("demla"));

    const std::string commandLine = JoinCommandLine(argc, argv);
    bool unregister = false;
    LCmdLineIter tokens(commandLine);
    while (tokens.Next()) {
        unregister = unregister || tokens.Current() == "-unregister";
    }
    if (unregister) {
        DesktopIntegration::Unregister();
    } else {
        DesktopIntegration::Register(QApplication::applicationFilePath());
    }

    QtPrompt prompt;
    try {
        MainWindow window;
        window.show();
        // The files open once the window is up and idle.
        QTimer::singleShot(0, &window, [&window, commandLine] {
            window.OpenCommandLine(QString::fromStdString(commandLine));
        });
        return QApplication::exec();
    } catch (const LException& e) {
        ReportLException(prompt, e);
    } catch (const WMException& e) {
        ReportWMException(prompt, e);
    }
    return 1;
}
