// Upload routes, and what the user is told when one fails or ends.

#include "autorization.h"
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
#include "questionqueue.h"
#include "setting.h"
#include "uploadmodel.h"
#include "uploadwidget.h"
#include "windowset.h"

#include <QClipboard>
#include <QDebug>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QQmlEngine>

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

// The file keeps its bytes when the chosen format is its own; another format is written anew.
bool keepAs(
    const QString &file, const QString &target, const PictureFormat &format, QString *problem)
{
    if (format.format() != PictureFormat::current().forFileName(file).format()) {
        if (!format.write(QImage(file), target, problem))
            return false;
        QFile::remove(file);
        return true;
    }
    if (QFileInfo::exists(target))
        return replaceWith(file, target, problem);
    QFile source(file);
    if (source.rename(target))
        return true;
    *problem = source.errorString();
    return false;
}

} // namespace

UploadModel *WindowSet::uploadModel()
{
    if (!m_uploadModel) {
        m_uploadModel = new UploadModel(this);
        // Pages ask for it through a call; the engine must not think it is theirs to collect.
        QQmlEngine::setObjectOwnership(m_uploadModel, QQmlEngine::CppOwnership);
        m_exchange->setUploadModel(m_uploadModel);
        connect(m_uploadModel, &UploadModel::uploadComplete, this, &WindowSet::showLastUploadPage);
    }
    return m_uploadModel;
}

// A job started without the model would never be collected, and the upload window that
// the job opens would wait for it for ever.
NetworkExchange *WindowSet::exchange()
{
    // A new round: what a cancel or a failure with nothing running left behind is forgotten.
    if (uploadModel()->rowCount() == 0) {
        m_roundLinked = false;
        m_roundFailed = false;
        m_roundNotices.clear();
    }
    return m_exchange;
}

void WindowSet::uploadData(const QStringList &files)
{
    exchange()->uploadData(files);
}

void WindowSet::uploadDataZip(const QStringList &files)
{
    exchange()->uploadDataZip(files);
}

void WindowSet::cancelUpload()
{
    if (m_uploadWidget)
        m_uploadWidget->hide();
    m_roundFailed = true;
    m_exchange->cancelUpload();
}

void WindowSet::showUploadPage()
{
    if (m_mainToolWidget)
        m_mainToolWidget->hide();
    if (setting(SettingKeys::showUpload))
        uploadWidget()->show();
}

void WindowSet::showLastUploadPage()
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
        tellUser(Core::tr("Upload"), notice);
}

void WindowSet::showErrorWidget(const QString &text)
{
    auto *window = new ErrorWidget;
    window->setError(text);
    connect(window, &BasicWindow::closed, window, &QObject::deleteLater);
    window->show();
    window->raise();
}

void WindowSet::uploadFailed(const QString &text, const QString &file, bool signInAgain)
{
    m_roundFailed = true;
    if (!file.isEmpty())
        offerToSave(Core::tr("Error"), Core::tr("%1\nSave file to disk ?").arg(text), file);
    else if (!signInAgain)
        showErrorWidget(text);
    if (signInAgain)
        askSignInAgain(text);
}

// The stored token is of no use any more: only a new sign-in brings uploads back. The storage
// settings stay; a sign-out that the user asks for in the settings is another matter. Asked
// once the failed files are dealt with, never beside their save dialogs, and once for all the
// uploads the token failed.
void WindowSet::askSignInAgain(const QString &text)
{
    const QString refused = Autorization::token();
    m_questions->askLast([this, text, refused](const std::function<void()> &done) {
        // The user has signed out or in again meanwhile: that token is gone already.
        if (Autorization::token() != refused) {
            done();
            return;
        }
        MessageDialog *question
            = showQuestion(Core::tr("Error"), Core::tr("%1\nSign in again ?").arg(text));
        connect(question, &MessageDialog::result, this, [this](int result) {
            if (result == MessageDialog::Ok)
                m_core->account()->dropRefusedToken();
        });
        connect(question, &BasicWindow::closed, this, done, Qt::QueuedConnection);
    });
}

// Each question keeps its own file: a later failure must not change what an earlier one offers.
void WindowSet::offerToSave(const QString &title, const QString &message, const QString &file)
{
    m_questions->ask([this, title, message, file](const std::function<void()> &done) {
        MessageDialog *question = showQuestion(title, message);
        auto answer = std::make_shared<int>(MessageDialog::Cancel);
        connect(question, &MessageDialog::result, this, [answer](int result) { *answer = result; });
        connect(
            question, &BasicWindow::closed, this,
            [this, file, answer, done] {
                QFileDialog *dialog = nullptr;
                if (*answer == MessageDialog::Ok)
                    dialog = offerOfflineSave(file);
                if (dialog)
                    connect(dialog, &QDialog::finished, this, done);
                else
                    done();
            },
            Qt::QueuedConnection);
    });
}

// A question on top of every other window; it goes when it closes.
MessageDialog *WindowSet::showQuestion(const QString &title, const QString &message)
{
    auto *question = new MessageDialog;
    connect(question, &BasicWindow::closed, question, &QObject::deleteLater);
    question->questions(title, message);
    question->show();
    question->raise();
    return question;
}

void WindowSet::internetNotAvailable(const QString &file)
{
    m_roundFailed = true;
    if (file.isEmpty()) {
        showErrorWidget(Core::tr("Internet is not available. The files were not uploaded."));
        return;
    }
    qDebug() << Q_FUNC_INFO << "show message dialog";
    offerToSave(
        Core::tr("Warning"), Core::tr("Internet is not available. Save file to disk ?"), file);
}

void WindowSet::internetNotAvailableResult(int result, const QString &file)
{
    if (result == MessageDialog::Ok)
        offerOfflineSave(file);
}

QFileDialog *WindowSet::offerOfflineSave(const QString &file)
{
    const PictureFormat base = PictureFormat::current();
    auto *dialog = new PictureSaveDialog(
        PictureSaveDialog::startFolder() + QLatin1Char('/') + QFileInfo(file).completeBaseName(),
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

void WindowSet::saveOfflineFile(
    const QString &file, const QString &chosen, const PictureFormat &format)
{
    const QString target = format.withExtension(chosen);
    // Saved onto itself: it is where the user wants it already.
    const QString source = QFileInfo(file).canonicalFilePath();
    if (chosen.isEmpty() || (!source.isEmpty() && source == QFileInfo(target).canonicalFilePath()))
        return;
    QString problem;
    if (keepAs(file, target, format, &problem)) {
        PictureSaveDialog::rememberFolder(target);
        return;
    }
    qDebug() << Q_FUNC_INFO << file << target << problem;
    showErrorWidget(Core::tr("The file could not be saved as %1: %2").arg(target, problem));
}

void WindowSet::checkFtpConnecrion(const QString &username, const QString &password,
    const QString &host, const QString &path, const QVariant &port)
{
    qDebug() << Q_FUNC_INFO;
    checkConnection(new HandleFTPUpload(this), true, username, password, host, path, port);
}

void WindowSet::checkSFTPConnecrion(const QString &username, const QString &password,
    const QString &host, const QString &path, const QVariant &port)
{
    qDebug() << Q_FUNC_INFO;
    checkConnection(new HandleSFTPUpload(this), false, username, password, host, path, port);
}

// The FTP outcome goes to a tray balloon; where no tray could show one it would be lost, so
// it goes to a message window there, as the SFTP one always does.
void WindowSet::checkConnection(CurlUpload *check, bool toTray, const QString &username,
    const QString &password, const QString &host, const QString &path, const QVariant &port)
{
    connect(check, &CurlUpload::connectChecked, this,
        [this, toTray](bool, const QString &title, const QString &message) {
            if (toTray)
                tellUser(title, message);
            else
                showMessageWindow(title, message);
        });
    connect(check, &CurlUpload::checkConnectFinished, m_core, &Core::checkConnectionFinished);
    connect(check, &CurlUpload::checkConnectFinished, check, &QObject::deleteLater);
    check->checkConnect(username, password, host, path, port);
}

void WindowSet::tellUser(const QString &title, const QString &message)
{
    const bool balloon = m_core->trayIcon() && m_core->trayIcon()->isVisible()
        && QSystemTrayIcon::isSystemTrayAvailable() && QSystemTrayIcon::supportsMessages();
    if (balloon) {
        m_core->showTrayMessage(title, message);
        return;
    }
    // Above the last-upload window, which stands in the same corner and stays on top.
    MessageDialog *report = showMessageWindow(title, message);
    report->setFlags(report->flags() | Qt::WindowStaysOnTopHint);
    report->raise();
}

MessageDialog *WindowSet::showMessageWindow(const QString &title, const QString &message)
{
    auto *report = new MessageDialog;
    connect(report, &BasicWindow::closed, report, &QObject::deleteLater);
    report->information(title, message);
    report->show();
    return report;
}
