// Upload routes, the last link and the history page.

#include "autorization.h"
#include "autorizationwidget.h"
#include "checkedsavefile.h"
#include "core.h"
#include "errorwidget.h"
#include "handleftpupload.h"
#include "handlesftpupload.h"
#include "lastuploadwidget.h"
#include "maintoolwidget.h"
#include "messagedialog.h"
#include "networkexchange.h"
#include "pictureformat.h"
#include "picturesavedialog.h"
#include "serviceaddress.h"
#include "setting.h"
#include "uploadmodel.h"
#include "uploadwidget.h"

#include <QClipboard>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDebug>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QQmlEngine>
#include <QUrl>

#include <utility>

namespace {

bool setting(QLatin1String key)
{
    return Setting::instance()->getValue(key).toBool();
}

// Replaces target with a full copy of file and removes file afterwards: until the copy is
// complete the old target stays untouched, so a failure loses neither of the two.
bool replaceWith(const QString &file, const QString &target, QString *problem)
{
    if (!CheckedSaveFile::copyOver(file, target, problem))
        return false;
    QFile::remove(file);
    return true;
}

} // namespace

bool Core::checkAutorization()
{
    if (Autorization::isAuth())
        return true;
    m_account->resetAutorization();
    AutorizationWidget *window = autorizationWidget();
    window->show();
    window->raise();
    return false;
}

UploadModel *Core::uploadModel()
{
    if (!m_uploadModel) {
        m_uploadModel = new UploadModel(this);
        // Pages ask for it through a call; the engine must not think it is theirs to collect.
        QQmlEngine::setObjectOwnership(m_uploadModel, QQmlEngine::CppOwnership);
        m_exchange->setUploadModel(m_uploadModel);
        connect(m_uploadModel, &UploadModel::uploadComplete, this, &Core::showLastUploadPage);
    }
    return m_uploadModel;
}

// A job started without the model would never be collected, and the upload window that
// the job opens would wait for it for ever.
NetworkExchange *Core::exchange()
{
    // A new round: what a cancel or a failure with nothing running left behind is forgotten.
    if (uploadModel()->rowCount() == 0) {
        m_roundLinked = false;
        m_roundFailed = false;
        m_roundNotices.clear();
    }
    return m_exchange;
}

void Core::uploadData(const QStringList &files)
{
    if (!checkAutorization())
        return;
    exchange()->uploadData(files);
}

void Core::uploadDataZip(const QStringList &files)
{
    qDebug() << Q_FUNC_INFO << files;
    if (!checkAutorization())
        return;
    exchange()->uploadDataZip(files);
}

void Core::cancelUpload()
{
    if (m_uploadWidget)
        m_uploadWidget->hide();
    m_roundFailed = true;
    m_exchange->cancelUpload();
}

void Core::showUploadPage()
{
    if (m_mainToolWidget)
        m_mainToolWidget->hide();
    if (setting(SettingKeys::showUpload))
        uploadWidget()->show();
}

void Core::showLastUploadPage()
{
    if (m_uploadWidget)
        m_uploadWidget->hide();
    if (m_mainToolWidget)
        m_mainToolWidget->hide();
    // After a failure the error is what the user must see, not an older link over it.
    const bool succeeded = m_roundLinked && !m_roundFailed;
    m_roundLinked = false;
    m_roundFailed = false;
    if (succeeded && setting(SettingKeys::showLastUpload))
        lastUploadWidget()->show();
    for (const QString &notice : std::exchange(m_roundNotices, {}))
        tellUser(tr("Upload"), notice);
}

void Core::showErrorWidget(const QString &text)
{
    auto *window = new ErrorWidget;
    window->setError(text);
    connect(window, &BasicWindow::closed, window, &QObject::deleteLater);
    window->show();
    window->raise();
}

void Core::uploadFailed(const QString &text, const QString &file, bool signInAgain)
{
    m_roundFailed = true;
    if (file.isEmpty()) {
        if (signInAgain)
            askSignInAgain(text);
        else
            showErrorWidget(text);
        return;
    }
    MessageDialog *question = showQuestion(tr("Error"), tr("%1\nSave file to disk ?").arg(text));
    if (!signInAgain) {
        connect(question, &MessageDialog::result, this,
            [this, file](int result) { internetNotAvailableResult(result, file); });
        return;
    }
    // One question at a time, the next once the last one has gone: asked beside the save
    // dialog, the sign-in would take the keys the user types there.
    auto answer = std::make_shared<int>(MessageDialog::Cancel);
    connect(question, &MessageDialog::result, this, [answer](int result) { *answer = result; });
    connect(
        question, &BasicWindow::closed, this,
        [this, file, text, answer] {
            QFileDialog *dialog = *answer == MessageDialog::Ok ? offerOfflineSave(file) : nullptr;
            if (dialog)
                connect(dialog, &QDialog::finished, this, [this, text] { askSignInAgain(text); });
            else
                askSignInAgain(text);
        },
        Qt::QueuedConnection);
}

// The stored token is of no use any more: only a new sign-in brings uploads back. The storage
// settings stay; a sign-out that the user asks for in the settings is another matter.
void Core::askSignInAgain(const QString &text)
{
    MessageDialog *question = showQuestion(tr("Error"), tr("%1\nSign in again ?").arg(text));
    connect(question, &MessageDialog::result, this, [this](int result) {
        if (result == MessageDialog::Ok)
            m_account->dropRefusedToken();
    });
}

// A question on top of every other window; it goes when it closes.
MessageDialog *Core::showQuestion(const QString &title, const QString &message)
{
    auto *question = new MessageDialog;
    connect(question, &BasicWindow::closed, question, &QObject::deleteLater);
    question->questions(title, message);
    question->show();
    question->raise();
    return question;
}

void Core::internetNotAvailable(const QString &file)
{
    m_roundFailed = true;
    if (file.isEmpty()) {
        showErrorWidget(tr("Internet is not available. The files were not uploaded."));
        return;
    }
    qDebug() << Q_FUNC_INFO << "show message dialog";
    MessageDialog *question
        = showQuestion(tr("Warning"), tr("Internet is not available. Save file to disk ?"));
    // Each question keeps its own file: a second failure must not change what the first offers.
    connect(question, &MessageDialog::result, this,
        [this, file](int result) { internetNotAvailableResult(result, file); });
}

void Core::internetNotAvailableResult(int result, const QString &file)
{
    if (result == MessageDialog::Ok)
        offerOfflineSave(file);
}

QFileDialog *Core::offerOfflineSave(const QString &file)
{
    const PictureFormat base = PictureFormat::current();
    auto *dialog = new PictureSaveDialog(QString(),
        QStringLiteral("PNG (*.png);;JPG (*.jpg);;JPEG (*.jpeg)"),
        base.forFileName(file).extension());
    dialog->setObjectName(QStringLiteral("saveOfflineFileDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this,
        [this, file, base, dialog](
            const QString &target) { saveOfflineFile(file, target, dialog->chosenFormat(base)); });
    // Opened from the tray, it would otherwise wait behind whatever the user works in.
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

// The file keeps its bytes when the chosen format is its own; another format is written anew.
void Core::saveOfflineFile(const QString &file, const QString &chosen, const PictureFormat &format)
{
    const QString target = format.withExtension(chosen);
    // Saved onto itself: it is where the user wants it already.
    const QString source = QFileInfo(file).canonicalFilePath();
    if (chosen.isEmpty() || (!source.isEmpty() && source == QFileInfo(target).canonicalFilePath()))
        return;
    QString problem;
    if (format.format() != PictureFormat::current().forFileName(file).format()) {
        if (format.write(QImage(file), target, &problem)) {
            QFile::remove(file);
            return;
        }
    } else if (!QFileInfo::exists(target)) {
        QFile source(file);
        if (source.rename(target))
            return;
        problem = source.errorString();
    } else if (replaceWith(file, target, &problem)) {
        return;
    }
    qDebug() << Q_FUNC_INFO << file << target << problem;
    showErrorWidget(tr("The file could not be saved as %1: %2").arg(target, problem));
}

void Core::setLastLink(const QString &link)
{
    qDebug() << Q_FUNC_INFO << link;
    if (link != m_lastLink) {
        m_lastLink = link;
        emit lastLinkChanged(m_lastLink);
        writeClipboard(link);
    }
    emit lastLinkChanged(m_lastLink);
}

// A link that leads nowhere is taken back from wherever it was offered; the last link is then
// the last one whose upload went through.
void Core::withdrawLink(const QString &link)
{
    qDebug() << Q_FUNC_INFO << link;
    if (m_clipboard && m_clipboard->text() == link)
        m_clipboard->clear();
    if (m_lastLink != link)
        return;
    m_lastLink = m_storedLink;
    emit lastLinkChanged(m_lastLink);
}

void Core::openLastLink()
{
    if (!m_lastLink.isEmpty())
        QDesktopServices::openUrl(QUrl(m_lastLink));
}

void Core::copyLastLink()
{
    writeClipboard(m_lastLink);
}

void Core::writeClipboard(const QString &text)
{
    if (m_clipboard)
        m_clipboard->setText(text, QClipboard::Clipboard);
}

// The address signs the token with the time, so that the web site can sign the user in.
void Core::openHistory()
{
    if (!checkAutorization())
        return;
    const QString token = Autorization::token();
    const QString seconds = QString::number(QDateTime::currentMSecsSinceEpoch() / 1000);
    const QByteArray stamp
        = QCryptographicHash::hash(token.toUtf8() + seconds.toUtf8(), QCryptographicHash::Md5)
              .toHex();
    QDesktopServices::openUrl(QUrl(ServiceAddress::serverHistory() + token + QLatin1Char('/')
        + QString::fromLatin1(stamp) + QLatin1Char('/') + seconds));
}

void Core::openHelp()
{
    QDesktopServices::openUrl(
        QUrl(QStringLiteral("https://") + ServiceAddress::webHost() + QStringLiteral("/support")));
}

void Core::checkFtpConnecrion(const QString &username, const QString &password, const QString &host,
    const QString &path, int port)
{
    qDebug() << Q_FUNC_INFO;
    checkConnection(new HandleFTPUpload(this), true, username, password, host, path, port);
}

void Core::checkSFTPConnecrion(const QString &username, const QString &password,
    const QString &host, const QString &path, int port)
{
    qDebug() << Q_FUNC_INFO;
    checkConnection(new HandleSFTPUpload(this), false, username, password, host, path, port);
}

// The FTP outcome goes to a tray balloon; where no tray could show one it would be lost, so
// it goes to a message window there, as the SFTP one always does.
void Core::checkConnection(CurlUpload *check, bool toTray, const QString &username,
    const QString &password, const QString &host, const QString &path, int port)
{
    connect(check, &CurlUpload::connectChecked, this,
        [this, toTray](bool, const QString &title, const QString &message) {
            if (toTray)
                tellUser(title, message);
            else
                showMessageWindow(title, message);
        });
    connect(check, &CurlUpload::checkConnectFinished, this, &Core::checkConnectionFinished);
    connect(check, &CurlUpload::checkConnectFinished, check, &QObject::deleteLater);
    check->checkConnect(username, password, host, path, port);
}

void Core::tellUser(const QString &title, const QString &message)
{
    const bool balloon = m_trayIcon && m_trayIcon->isVisible()
        && QSystemTrayIcon::isSystemTrayAvailable() && QSystemTrayIcon::supportsMessages();
    if (balloon) {
        showTrayMessage(title, message);
        return;
    }
    // Above the last-upload window, which stands in the same corner and stays on top.
    MessageDialog *report = showMessageWindow(title, message);
    report->setFlags(report->flags() | Qt::WindowStaysOnTopHint);
    report->raise();
}

MessageDialog *Core::showMessageWindow(const QString &title, const QString &message)
{
    auto *report = new MessageDialog;
    connect(report, &BasicWindow::closed, report, &QObject::deleteLater);
    report->information(title, message);
    report->show();
    return report;
}
