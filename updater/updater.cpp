#include "updater.h"
#include "logging.h"
#include "networkaccessmanager.h"
#include "networkreadreply.h"
#include "packagesignature.h"
#include "paths.h"
#include "pendingupdate.h"
#include "serviceaddress.h"
#include "setting.h"

#include <JlCompress.h>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProcess>
#include <QRegularExpression>
#include <QUrlQuery>
#include <QVersionNumber>

namespace {

// Inactivity bound: a stalled check or download must not block every later update.
constexpr int kTransferTimeoutMs = 60000;
// A download only ends when it stalls, so a server that never stops sending must be cut off
// before it fills the disk.
qint64 s_packageLimit = qint64(1) << 30;

const QString kScriptName = QStringLiteral("kuvoUpdater");

// The download and its unpacked content, until the package is verified.
QString workFolder()
{
    return Paths::settingsFolder() + QStringLiteral("update.part/");
}

QString scriptFolder()
{
    return Paths::settingsFolder() + QStringLiteral("updater/");
}

// Only plain dot-separated numbers count; "3.1-beta" or "" is a malformed reply. The text is
// checked by a pattern rather than through the suffix index of QVersionNumber::fromString():
// Qt 5 declares that function pure, so an optimising compiler may never read the index back.
QVersionNumber strictVersion(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9]{1,9}(\\.[0-9]{1,9})*$"));
    return pattern.match(text).hasMatch() ? QVersionNumber::fromString(text) : QVersionNumber();
}

bool isMd5(const QByteArray &hex)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9a-f]{32}$"));
    return pattern.match(QString::fromLatin1(hex)).hasMatch();
}

// A package entry must stay inside the folder it is unpacked into.
bool isContained(const QString &entry)
{
    const QString clean = QDir::cleanPath(entry);
    return !clean.isEmpty() && !QDir::isAbsolutePath(clean) && clean != QLatin1String("..")
        && !clean.startsWith(QLatin1String("../"));
}

bool allContained(const QString &zipFile)
{
    QuaZip zip(zipFile);
    if (!zip.open(QuaZip::mdUnzip))
        return false;
    const QStringList entries = zip.getFileNameList();
    return !entries.isEmpty() && std::all_of(entries.begin(), entries.end(), isContained);
}

} // namespace

Updater::Updater(QObject *parent)
    : QObject(parent)
{
    // The updater script lives in this static library; without this the linker drops it.
    Q_INIT_RESOURCE(kuvoupdater);
}

// A program that quits in the middle of a download leaves no half package behind.
Updater::~Updater()
{
    if (m_package.isOpen())
        discardDownload();
}

void Updater::startUpdate()
{
    if (m_running) {
        qDebug() << Q_FUNC_INFO << "an update is already running";
        return;
    }
    m_running = true;

    QUrl url(ServiceAddress::updateCheckUrl());
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("platform"), Setting::instance()->getPlatform());
    query.addQueryItem(QStringLiteral("version"), QCoreApplication::applicationVersion());
    url.setQuery(query);

    QNetworkRequest request(url);
    NetworkAccessManager::getAuthRequest(request);
    request.setTransferTimeout(kTransferTimeoutMs);
    m_manager = new NetworkAccessManager(this);
    QNetworkReply *reply = m_manager->get(request);
    connect(reply, &QNetworkReply::finished, this, [this, reply] { checkFinished(reply); });
}

void Updater::checkFinished(QNetworkReply *reply)
{
    reply->deleteLater();
    const NetworkReadReply read(reply);
    if (!read.isOk()) {
        fail(tr("The update check failed: %1").arg(read.errorText()));
        return;
    }
    const QString offeredText = read.value(QStringLiteral("version")).toString();
    const QVersionNumber offered = strictVersion(offeredText);
    if (offered.isNull()) {
        fail(tr("The update check sent no valid version"));
        return;
    }
    const QString running = QCoreApplication::applicationVersion();
    if (offered <= QVersionNumber::fromString(running)) {
        qDebug() << Q_FUNC_INFO << "no version newer than" << running << "offered";
        finish();
        return;
    }
    takeOffer(read, offeredText);
}

void Updater::takeOffer(const NetworkReadReply &read, const QString &offeredText)
{
    // Only the service itself hands out packages: an address elsewhere is refused before a
    // byte is fetched, whatever its signature would say.
    const QString address = read.value(QStringLiteral("url")).toString();
    const QUrl package(address, QUrl::StrictMode);
    if (!ServiceAddress::isOnApiHost(package)) {
        fail(tr("The update to version %1 is offered from \"%2\", not from the update host %3")
                 .arg(offeredText, address.left(200), ServiceAddress::apiHost()));
        return;
    }
    const QByteArray md5 = read.value(QStringLiteral("md5")).toString().toLatin1().toLower();
    if (!isMd5(md5)) {
        fail(tr("The update to version %1 has no valid checksum").arg(offeredText));
        return;
    }
    const auto signature
        = QByteArray::fromBase64Encoding(read.value(QStringLiteral("sig")).toString().toLatin1(),
            QByteArray::AbortOnBase64DecodingErrors);
    if (!signature || signature.decoded.size() != PackageSignature::kSize) {
        fail(tr("The update to version %1 is not signed").arg(offeredText));
        return;
    }
    qDebug() << Q_FUNC_INFO << "downloading version" << offeredText;
    m_signature = signature.decoded;
    startDownload(package, md5);
}

void Updater::startDownload(const QUrl &url, const QByteArray &md5)
{
    m_expectedMd5 = md5;
    m_hash.reset();
    m_writeError.clear();
    m_package.setFileName(workFolder() + QStringLiteral("package.zip"));
    // Whatever an interrupted earlier run left there must not mix into this package.
    QDir(workFolder()).removeRecursively();
    if (!Paths::makePrivateFolder(workFolder())
        || !m_package.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        const QString reason = m_package.errorString();
        discardDownload();
        fail(tr("The update could not be saved: %1").arg(reason));
        return;
    }

    QNetworkRequest request(url);
    NetworkAccessManager::getAuthRequest(request);
    // The package needs no account; the manager's same-origin redirect policy keeps the
    // download on the service's host.
    request.setRawHeader("Authorization", QByteArray());
    // Written to disk as it arrives: its size is no matter for memory.
    request.setAttribute(NetworkAccessManager::ReplyLimitAttribute, 0);
    request.setTransferTimeout(kTransferTimeoutMs);
    QNetworkReply *reply = m_manager->get(request);
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { writeChunk(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { downloadFinished(reply); });
}

// The package goes to disk as it arrives, so its size never matters to memory.
void Updater::writeChunk(QNetworkReply *reply)
{
    const QByteArray chunk = reply->readAll();
    if (chunk.isEmpty() || !m_writeError.isEmpty())
        return;
    m_hash.addData(chunk);
    // Written from its start and only appended to: the position is the size, without the
    // flush and stat that size() makes for every chunk.
    if (m_package.pos() + chunk.size() > s_packageLimit)
        m_writeError = tr("it is larger than %1 bytes").arg(s_packageLimit);
    else if (m_package.write(chunk) != chunk.size())
        m_writeError = m_package.errorString();
    if (!m_writeError.isEmpty())
        reply->abort();
}

void Updater::setPackageLimit(qint64 bytes)
{
    s_packageLimit = bytes;
}

void Updater::downloadFinished(QNetworkReply *reply)
{
    reply->deleteLater();
    writeChunk(reply);
    const bool flushed = m_package.flush();
    m_package.close();

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    QString problem;
    if (!m_writeError.isEmpty() || !flushed)
        problem = tr("The update could not be saved: %1")
                      .arg(m_writeError.isEmpty() ? m_package.errorString() : m_writeError);
    else if (reply->error() != QNetworkReply::NoError)
        problem = tr("The update download failed: %1").arg(NetworkAccessManager::replyError(reply));
    else if (status != 200)
        problem = tr("The update download failed with status %1").arg(status);
    else if (m_hash.result().toHex() != m_expectedMd5)
        problem = tr("The update package is damaged: its checksum is %1 instead of %2")
                      .arg(QString::fromLatin1(m_hash.result().toHex()),
                          QString::fromLatin1(m_expectedMd5));
    else if (!PackageSignature::verifyFile(m_package.fileName(), m_signature))
        problem = tr("The update package was not signed by the maker of Kuvo: it is not "
                     "installed");
    if (!problem.isEmpty()) {
        discardDownload();
        fail(problem);
        return;
    }
    install();
}

// Unpacks next to the download first and moves the result into place in one step, so the
// start-up never finds half a program in the update folder.
void Updater::install()
{
    const QString staging = workFolder() + QStringLiteral("content/");
    const bool unpacked = allContained(m_package.fileName())
        && !JlCompress::extractDir(m_package.fileName(), staging).isEmpty();
    const QString program = PendingUpdate::programName();
    if (!unpacked || !QFileInfo(staging + program).isFile()) {
        discardDownload();
        fail(unpacked ? tr("The update package holds no %1").arg(program)
                      : tr("The update package could not be unpacked"));
        return;
    }

    const QString folder = PendingUpdate::folder();
    QDir(folder).removeRecursively();
    const QString target = QDir::cleanPath(folder);
    // The package and its signature go along: the start-up verifies them again before it
    // runs anything of the update.
    const bool moved = keepSignedPackage(staging) && QDir().rename(QDir::cleanPath(staging), target)
        && QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)
        && QFile::setPermissions(
            folder + program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    discardDownload();
    if (!moved) {
        QDir(folder).removeRecursively();
        fail(tr("The update could not be moved into %1").arg(folder));
        return;
    }
    handOver();
}

bool Updater::keepSignedPackage(const QString &staging)
{
    const QString package = staging + QFileInfo(PendingUpdate::packageFile()).fileName();
    QFile signature(staging + QFileInfo(PendingUpdate::signatureFile()).fileName());
    QFile::remove(package);
    return QFile::rename(m_package.fileName(), package) && signature.open(QIODevice::WriteOnly)
        && signature.write(m_signature) == m_signature.size() && signature.flush();
}

// The running program cannot replace itself: the script waits for this process to end and
// then starts the program again, whose start-up finds the new one in the update folder.
void Updater::handOver()
{
    const QString folder = scriptFolder();
    QDir(folder).removeRecursively();
    QFile archive(QStringLiteral(":/zip/bin/kuvoUpdater.zip"));
    const QString script = folder + kScriptName;
    if (!Paths::makePrivateFolder(folder) || JlCompress::extractDir(&archive, folder).isEmpty()
        || !QFileInfo(script).isFile()) {
        fail(tr("The updater could not be unpacked into %1").arg(folder));
        return;
    }

    const QStringList arguments
        = QStringList {script, QString::number(QCoreApplication::applicationPid()),
              QCoreApplication::applicationFilePath()}
        + ServiceAddress::betaArguments() + QStringList {QStringLiteral("-updcomp")};
    if (!QProcess::startDetached(QStringLiteral("/bin/sh"), arguments)) {
        fail(tr("The updater could not be started"));
        return;
    }
    qDebug() << Q_FUNC_INFO << "the updater takes over";
    QCoreApplication::exit(0);
}

void Updater::discardDownload()
{
    m_package.close();
    QDir(workFolder()).removeRecursively();
}

void Updater::fail(const QString &text)
{
    qDebug() << Q_FUNC_INFO << text;
    Logging::instance()->writeMessage(text);
    emit updateFailed(text);
    finish();
}

void Updater::finish()
{
    m_running = false;
    if (m_manager)
        m_manager->deleteLater();
}
