#include "commandline.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QVector>

namespace CommandLine {

namespace {

const QString kRunningAgain = QStringLiteral("running_again");
const QString kHelp = QStringLiteral("-help");
const QString kBeta = QStringLiteral("-beta");
const QString kUpdateComplete = QStringLiteral("-updcomp");
const QString kOpen = QStringLiteral("-o");
const QString kZip = QStringLiteral("-z");
const QString kFullScreen = QStringLiteral("-full-screen");
const QString kQuickScreen = QStringLiteral("-quick-screen");
const QString kScreen = QStringLiteral("-screen");

bool isSwitch(const QString &argument)
{
    static const QStringList switches
        = {kHelp, kBeta, kUpdateComplete, kOpen, kZip, kFullScreen, kQuickScreen, kScreen};
    return switches.contains(argument);
}

// Which entries after the program path name files: switches, the two hosts of "-beta" and
// empty entries never do; the entry after "-o" does (it is opened, not uploaded).
enum class Entry { Other, Upload, Opened };

QVector<Entry> classify(const QStringList &arguments)
{
    QVector<Entry> entries(arguments.size(), Entry::Other);
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == kBeta) {
            i += 2;
        } else if (argument == kOpen) {
            if (i + 1 < arguments.size())
                entries[++i] = Entry::Opened;
        } else if (!argument.isEmpty() && !isSwitch(argument)) {
            entries[i] = Entry::Upload;
        }
    }
    return entries;
}

QStringList filesIn(const QStringList &arguments)
{
    const QVector<Entry> entries = classify(arguments);
    QStringList files;
    for (int i = 0; i < arguments.size(); ++i) {
        if (entries[i] == Entry::Upload)
            files << arguments[i];
    }
    return files;
}

// The file named right after the first "-o"; empty when nothing follows it.
QString fileAfterOpen(const QStringList &arguments)
{
    const QVector<Entry> entries = classify(arguments);
    const int at = entries.indexOf(Entry::Opened);
    return at >= 0 ? arguments[at] : QString();
}

} // namespace

QStringList unknownArguments(const QStringList &arguments, const QString &workingFolder)
{
    const QDir folder(workingFolder);
    QStringList unknown;
    for (const QString &file : filesIn(arguments)) {
        if (!QFileInfo(folder.absoluteFilePath(file)).isFile())
            unknown << file;
    }
    return unknown;
}

QString unknownArgumentsText(const QStringList &unknown)
{
    QString text;
    for (const QString &argument : unknown)
        text += QStringLiteral("Unknown switch or no such file: ") + argument + QLatin1Char('\n');
    return text;
}

bool wantsHelp(const QStringList &arguments)
{
    return arguments.mid(1).contains(kHelp);
}

LaunchPlan planFirstCopy(const QStringList &arguments)
{
    LaunchPlan plan;
    if (arguments.size() < 2)
        return plan;
    if (wantsHelp(arguments)) {
        plan.action = LaunchPlan::Action::PrintHelp;
        return plan;
    }
    const int beta = arguments.indexOf(kBeta);
    if (beta >= 0) {
        if (beta + 2 >= arguments.size()) {
            plan.action = LaunchPlan::Action::PrintBetaHelp;
            return plan;
        }
        plan.betaWebHost = arguments[beta + 1];
        plan.betaApiHost = arguments[beta + 2];
    }
    if (arguments.contains(kUpdateComplete))
        return plan;

    if (arguments.contains(kOpen)) {
        plan.audioImageFile = fileAfterOpen(arguments);
        if (!plan.audioImageFile.isEmpty())
            plan.files = LaunchPlan::Files::OpenAudioImage;
        return plan;
    }
    plan.fileList = filesIn(arguments);
    if (!plan.fileList.isEmpty())
        plan.files
            = arguments.contains(kZip) ? LaunchPlan::Files::UploadZip : LaunchPlan::Files::Upload;
    return plan;
}

QString messageForFirstCopy(const QStringList &arguments, const QString &workingFolder)
{
    if (arguments.size() < 2)
        return kRunningAgain;
    const QDir folder(workingFolder);
    const QVector<Entry> entries = classify(arguments);
    QStringList message = {arguments.first()};
    for (int i = 1; i < arguments.size(); ++i) {
        const bool isFile = entries[i] != Entry::Other;
        message << (isFile ? QDir::cleanPath(folder.absoluteFilePath(arguments[i])) : arguments[i]);
    }
    return message.join(QLatin1Char(';'));
}

ForwardedCommand parseMessage(const QByteArray &message)
{
    ForwardedCommand command;
    if (message == kRunningAgain.toUtf8()) {
        command.kind = ForwardedCommand::Kind::RunningAgain;
        return command;
    }
    const int zero = message.indexOf('\0');
    const QStringList list
        = QString::fromUtf8(zero < 0 ? message : message.left(zero)).split(QLatin1Char(';'));
    if (list.contains(kOpen)) {
        command.file = fileAfterOpen(list);
        if (!command.file.isEmpty())
            command.kind = ForwardedCommand::Kind::OpenAudioImage;
        return command;
    }
    if (list.contains(kZip)) {
        command.files = filesIn(list);
        if (!command.files.isEmpty())
            command.kind = ForwardedCommand::Kind::UploadZip;
        return command;
    }
    if (list.contains(kFullScreen)) {
        command.kind = ForwardedCommand::Kind::FullScreen;
    } else if (list.contains(kQuickScreen)) {
        command.kind = ForwardedCommand::Kind::QuickScreen;
    } else if (list.contains(kScreen)) {
        command.kind = ForwardedCommand::Kind::Screen;
    } else {
        command.files = filesIn(list);
        if (!command.files.isEmpty())
            command.kind = ForwardedCommand::Kind::Upload;
    }
    return command;
}

QString helpText()
{
    return QStringLiteral("Kuvo help -----------------------------\n"
                          "-full-screen - capture full screen\n"
                          "-quick-screen - capture screen and send to kuvo\n"
                          "-screen - capture fragment screen\n"
                          "<filename> - send file to kuvo\n"
                          "<filename> -z - send file to kuvo in zip\n"
                          "-o <filename> - open a picture with sound (.kia)\n"
                          "-beta <auth url> <api url> - for use beta server\n"
                          "-updcomp - started after an update: no file is sent or opened\n"
                          "-help - show this help\n");
}

QString betaHelpText()
{
    return QStringLiteral("Kuvo beta help -----------------------------\n"
                          "-beta <auth url> <api url> - for use beta server\n");
}

QString betaBanner(const QString &webHost, const QString &apiHost)
{
    return QStringLiteral(
               "!!!!!!! ------------------- START BETA MODE --------------------- !!!!!!\n"
               "!!!!!!! ------------------- ")
        + webHost + QLatin1Char(' ') + apiHost + QStringLiteral("  --------------------- !!!!!!\n");
}

void nameApplication()
{
    QCoreApplication::setApplicationVersion(QStringLiteral("3.0.15"));
    QCoreApplication::setApplicationName(QStringLiteral("Kuvo"));
}

void print(const QString &text, std::FILE *stream)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace CommandLine
