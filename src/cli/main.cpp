#include <iostream>

#include "cli/cli.h"

#ifdef QAVSEC_WITH_QT
#include <QString>
#include <QtGlobal>

namespace {
// Qt speaks for itself on stderr when the pictures and PDF files start up without a screen
// ("QStandardPaths: XDG_RUNTIME_DIR not set ..."). Those lines are not the program's messages and
// change nothing in what it writes, so they are dropped; a fatal one, after which Qt ends the
// program, still says why.
void keepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg) std::cerr << "qavsec-cli: " << text.toStdString() << std::endl;
}
}  // namespace
#endif

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
#ifdef QAVSEC_WITH_QT
    qInstallMessageHandler(keepQtQuiet);
#endif
    qav::cli::installInterruptHandler();
    std::vector<std::string> words(argv + 1, argv + argc);
    const int rc = qav::cli::runCli(words, std::cout, std::cerr);
    std::cout.flush();
    return rc;
}
