#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include <QStringList>

#include <cstdio>

// What the command line asks of the program: pure functions, so that every rule can be
// checked without starting a copy. Argument lists hold the program path first.
namespace CommandLine {

// The first copy's own command line.
struct LaunchPlan
{
    enum class Action { Run, PrintHelp, PrintBetaHelp };
    enum class Files { None, Upload, UploadZip, OpenAudioImage };

    Action action = Action::Run;
    QString betaWebHost; // both set when "-beta" came with its two hosts
    QString betaApiHost;
    Files files = Files::None;
    QStringList fileList; // for Upload and UploadZip
    QString audioImageFile; // for OpenAudioImage
};

LaunchPlan planFirstCopy(const QStringList &arguments);

// What a second copy sends to the first: "running_again", or the arguments after the program
// path, each as UTF-8 ended by a zero byte, behind a mark that no older message starts with.
// Relative file paths are made absolute against the second copy's working folder: the first
// copy runs in a folder of its own.
QByteArray messageForFirstCopy(const QStringList &arguments, const QString &workingFolder);

// A message received from a second copy, turned into the one command it stands for.
struct ForwardedCommand
{
    enum class Kind {
        Nothing,
        RunningAgain,
        OpenAudioImage,
        UploadZip,
        FullScreen,
        QuickScreen,
        Screen,
        Upload,
        // Names that may stand for another file than the sender meant: nothing is done.
        Refused
    };
    Kind kind = Kind::Nothing;
    QStringList files;
    QString file;
    QStringList refused;
};

ForwardedCommand parseMessage(const QByteArray &message);

// The arguments that would go to an upload but name no file, relative ones taken from
// workingFolder: an unknown switch such as "--help", or a mistyped name.
QStringList unknownArguments(const QStringList &arguments, const QString &workingFolder);
QString unknownArgumentsText(const QStringList &unknown);
// Arguments whose bytes do not come back from text: such a name would open another file, or
// none. So does a relative name in a working folder of that kind. raw holds the program path
// first, as argv does.
QStringList unreadableArguments(const QList<QByteArray> &raw, const QByteArray &workingFolder);
QString unreadableArgumentsText(const QStringList &unreadable);

bool wantsHelp(const QStringList &arguments);
QString helpText();
QString betaHelpText();
QString betaBanner(const QString &webHost, const QString &apiHost);

// Not pure: what the launcher and the program it loads both do.
void nameApplication();
// Flushed at once: the copy may end, or stop at a display it cannot open, right after.
void print(const QString &text, std::FILE *stream = stdout);

} // namespace CommandLine

#endif // COMMANDLINE_H
