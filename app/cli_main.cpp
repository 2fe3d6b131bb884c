// vemblor-cli: the program's file and handset tasks without windows, for scripts and tests.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

constexpr int EXIT_USAGE = 2;

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vemblor-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VEMBLOR_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Vemblor phone book tasks without windows."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("The task to run."));
    parser.process(application);

    const QStringList arguments = parser.positionalArguments();
    if (arguments.isEmpty()) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return EXIT_USAGE;
    }
    std::fprintf(stderr, "vemblor-cli: unknown command '%s'\n", qPrintable(arguments.first()));
    return EXIT_USAGE;
}
