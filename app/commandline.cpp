#include "commandline.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
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
// Starts a message of this version: a zero byte, which no older message holds, so an older
// first copy reads it as nothing at all.
const QByteArray kArgumentsMark("\0kuvo-arguments\0", 16);
// Older copies joined the arguments with it, although a name may hold it too.
const QChar kOldSeparator(QLatin1Char(';'));
// An older copy's list is searched for names it split; a longer one is not read at all.
const int kMostOldEntries = 256;
// Longer than any path the system opens.
const int kLongestPath = 4096;

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

QStringList entriesOf(const QStringList &arguments, bool opened)
{
    const QVector<Entry> entries = classify(arguments);
    QStringList files;
    for (int i = 0; i < arguments.size(); ++i) {
        if (entries[i] == Entry::Upload || (opened && entries[i] == Entry::Opened))
            files << arguments[i];
    }
    return files;
}

QStringList filesIn(const QStringList &arguments)
{
    return entriesOf(arguments, false);
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

QStringList unreadableArguments(const QList<QByteArray> &raw, const QByteArray &workingFolder)
{
    QStringList arguments;
    QStringList unreadable;
    for (const QByteArray &bytes : raw) {
        arguments << QFile::decodeName(bytes);
        if (arguments.size() > 1 && QFile::encodeName(arguments.last()) != bytes)
            unreadable << arguments.last();
    }
    if (QFile::encodeName(QFile::decodeName(workingFolder)) == workingFolder)
        return unreadable;
    for (const QString &file : entriesOf(arguments, true)) {
        if (QDir::isRelativePath(file) && !unreadable.contains(file))
            unreadable << file;
    }
    return unreadable;
}

QString unreadableArgumentsText(const QStringList &unreadable)
{
    QString text;
    for (const QString &argument : unreadable)
        text += QStringLiteral("Not a name this program can read (the name or the working folder "
                               "is not text in the system's encoding): ")
            + argument + QLatin1Char('\n');
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

QByteArray messageForFirstCopy(const QStringList &arguments, const QString &workingFolder)
{
    if (arguments.size() < 2)
        return kRunningAgain.toUtf8();
    const QDir folder(workingFolder);
    const QVector<Entry> entries = classify(arguments);
    QByteArray message = kArgumentsMark;
    for (int i = 1; i < arguments.size(); ++i) {
        // Not cleaned: "link/../a" is where the link leads, not beside the link.
        const bool isFile = entries[i] != Entry::Other;
        message += (isFile ? folder.absoluteFilePath(arguments[i]) : arguments[i]).toUtf8();
        message += '\0';
    }
    return message;
}

namespace {

ForwardedCommand commandFrom(const QStringList &list)
{
    ForwardedCommand command;
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

ForwardedCommand refusal(const QStringList &names)
{
    ForwardedCommand command;
    command.kind = ForwardedCommand::Kind::Refused;
    command.refused = names;
    return command;
}

QStringList namesOf(const ForwardedCommand &command)
{
    return command.kind == ForwardedCommand::Kind::OpenAudioImage ? QStringList {command.file}
                                                                  : command.files;
}

// The sender's working folder is not known here: a relative name would be taken from this
// copy's folder, where it may name another file.
QStringList relativeNames(const ForwardedCommand &command)
{
    QStringList relative;
    for (const QString &name : namesOf(command)) {
        if (QDir::isRelativePath(name))
            relative << name;
    }
    return relative;
}

// Neighbouring entries that together name a file: one name that held the separator.
QStringList splitNames(const QStringList &list)
{
    QStringList names;
    for (int first = 1; first < list.size(); ++first) {
        QString joined = list[first];
        for (int next = first + 1; next < list.size() && joined.size() < kLongestPath; ++next) {
            joined += kOldSeparator + list[next];
            if (QFileInfo::exists(joined))
                names << joined;
        }
    }
    return names;
}

ForwardedCommand parseArguments(const QByteArray &body)
{
    // Cut short: the sender went before it had written all of it.
    if (!body.endsWith('\0'))
        return {};
    QStringList list = {QString()}; // where the program path stood in older messages
    QStringList unreadable;
    for (const QByteArray &field : body.left(body.size() - 1).split('\0')) {
        const QString text = QString::fromUtf8(field);
        if (text.toUtf8() != field)
            unreadable << text;
        list << text;
    }
    if (!unreadable.isEmpty())
        return refusal(unreadable);
    const ForwardedCommand command = commandFrom(list);
    const QStringList relative = relativeNames(command);
    return relative.isEmpty() ? command : refusal(relative);
}

// As older copies send it: the text up to the first zero byte, split at every separator. It is
// followed only where the split cannot have cut a name in two.
ForwardedCommand parseOldMessage(const QByteArray &message)
{
    const int zero = message.indexOf('\0');
    const QStringList list
        = QString::fromUtf8(zero < 0 ? message : message.left(zero)).split(kOldSeparator);
    const ForwardedCommand command = commandFrom(list);
    const QStringList names = namesOf(command);
    if (names.isEmpty())
        return command;
    if (list.size() > kMostOldEntries)
        return refusal(names);
    const QStringList doubtful = relativeNames(command) + splitNames(list);
    return doubtful.isEmpty() ? command : refusal(doubtful);
}

} // namespace

ForwardedCommand parseMessage(const QByteArray &message)
{
    if (message == kRunningAgain.toUtf8()) {
        ForwardedCommand command;
        command.kind = ForwardedCommand::Kind::RunningAgain;
        return command;
    }
    if (message.startsWith(kArgumentsMark))
        return parseArguments(message.mid(kArgumentsMark.size()));
    return parseOldMessage(message);
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
