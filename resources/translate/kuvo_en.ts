<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>ArrowForm</name>
    <message>
        <source>Form</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AudioImagePlayer</name>
    <message>
        <source>Audio comment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture of %1 is damaged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture of %1 is too large: %2 x %3 pixels, at most %4 x %4.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AudioPlayer</name>
    <message>
        <source>Audio comment</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AudioThreadPlay</name>
    <message>
        <source>The sound of this file is not a WAV recording that can be played.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No audio device was found: the sound cannot be played.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The audio device cannot play this sound (%1 Hz, %2 channels, %3 bits).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The audio device could not be opened: the sound cannot be played.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Autorization</name>
    <message>
        <source>Please enter your e-mail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The e-mail is not valid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter your password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The program cannot receive the sign-in from the browser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The service did not grant access</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sign-in has expired, please sign in again</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Browser</name>
    <message>
        <source>The browser could not be opened</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CheckedSaveFile</name>
    <message>
        <source>Only %1 of %2 bytes could be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only %1 of %2 bytes reached the disk.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Core</name>
    <message>
        <source>Error start socket</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No local port is free for the sign-in through the browser. Kuvo closes in 10 seconds.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Internet is not available. The files were not uploaded.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Internet is not available. Save file to disk ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file could not be saved as %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture could not be saved to %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Autorization</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Capture fragment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Capture fullscreen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open last link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy last link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hey! I Kuvo. The faster program to create screenshots and transfer files over a network. Are you forgot for me ? Let`s do screenshot!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Changes to the settings cannot be kept: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The settings file was damaged. What could be read from it was kept; settings that could not be read are back to their defaults. The damaged file was moved to %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The settings file %1 cannot be written. Kuvo runs with the settings it holds, but changes to them cannot be kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The settings file cannot be opened (%1). Kuvo runs with the default settings, and changes to them cannot be kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture was not saved. Save it somewhere else?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sound could not be recorded: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No microphone was found: the sound cannot be recorded.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture could not be saved to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Storage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This version cannot upload to Google disk. Uploads go to the Kuvo service; another storage can be chosen in the settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1
Save file to disk ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1
Sign in again ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CurlTarget</name>
    <message>
        <source>Enter the address of the server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a valid server address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The port must be a number from 1 to 65535</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CurlTransfer</name>
    <message>
        <source>The transfer was cancelled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server %1 was not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server %1 refused the connection on port %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server %1 did not answer in time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong user name or password for %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder %1 on %2 is missing or not writable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server %1 has no room left for the file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 could not be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The transfer to %1 failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The host key of %1 has changed: this may not be the server you set up. If its key was replaced on purpose, remove its line from %2 and try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The host key of %1 could not be stored in %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The identity of the server %1 could not be checked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file name %1 cannot be sent to a server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 became shorter while it was sent</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CurlUpload</name>
    <message>
        <source>Another upload to this server is still running</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Well done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DropboxAuth</name>
    <message>
        <source>Dropbox is linked, but the account&apos;s details could not be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ErrorDialog</name>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ok</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FontWindow</name>
    <message>
        <source>Font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current font </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Italic</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FtpConnectionForm</name>
    <message>
        <source>Host</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Base url</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HandleDropboxUpload</name>
    <message>
        <source>The upload to Dropbox was stopped.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dropbox is not linked. Link your Dropbox account in the settings to upload there.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 cannot be read and was not uploaded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The upload to Dropbox was cancelled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload of %1 to Dropbox failed: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HandleFTPUpload</name>
    <message>
        <source>FTP connection is avaliable</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HandleSFTPUpload</name>
    <message>
        <source>SFTP connection is avaliable</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HandlerUpload</name>
    <message>
        <source>The service sent no usable link for %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The service did not store all of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload of %1 failed: the network is not available</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload of %1 failed: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload of %1 to %2 failed: %3; it goes to Kuvo instead</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The upload to %1 failed (%2); the file went to Kuvo instead.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It was not uploaded.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HookKeybord</name>
    <message>
        <source>The key combination %1 cannot be used: another program may hold it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a key combination.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HootKeyInput</name>
    <message>
        <source>Press a key combination</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Esc for cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HotKeyRow</name>
    <message>
        <source>Change</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KTextEdit</name>
    <message>
        <source>Your feedback</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KaiLibrary</name>
    <message>
        <source>The image+audio library %1 is missing or damaged: files with sound cannot be read or written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The image+audio library %1 lacks its entry points: files with sound cannot be read or written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 could not be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 is not a picture with sound, or it is damaged.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LastUploadPage</name>
    <message>
        <source>Upload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload complete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open link in the last screenshot/file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy link of the last screenshot/file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do not show this window</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LastUploadWidget</name>
    <message>
        <source>Upload</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LicenseDialog</name>
    <message>
        <source>Terms of use</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I accept the agreement</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start use kuvo</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainToolPage</name>
    <message>
        <source>Fragment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Capture fragment screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fullscreen - capture full screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>History - show history</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last upload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing uploaded yet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open link in the last screenshot/file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy link of the last screenshot/file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To get started with Kuvo you must log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter to kuvo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MessageDialog</name>
    <message>
        <source>Ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NetworkAccessManager</name>
    <message>
        <source>The server refused the connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server closed the connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server was not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The connection timed out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The request was cancelled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A secure connection to the server could not be established</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The network is not available</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The proxy server is not reachable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The proxy server needs a valid user name and password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Access denied: please sign in again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server does not know this address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server could not complete the request</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network error %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server answered with status %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server sent the request to another address</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NetworkExchange</name>
    <message>
        <source>Max upload total size </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mb</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NetworkReadReply</name>
    <message>
        <source>The server sent a reply that could not be read</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PictureFormat</name>
    <message>
        <source>There is no picture to save.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PictureSaveDialog</name>
    <message>
        <source>Save file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PonoramControls</name>
    <message>
        <source>Finish the scrolling capture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel the scrolling capture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scrolling capture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press &quot;Play&quot; and use wheel or application scroll and drop his down</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PonoramView</name>
    <message>
        <source>The panorama has reached its greatest height and ends here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The document scrolled too far at once; the panorama ends here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A blank stretch was too tall to measure; the panorama ends above it</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProxyPage</name>
    <message>
        <source>Proxy setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Host</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Accept</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PushButton</name>
    <message>
        <source>Push button</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QDropbox</name>
    <message>
        <source>There is not enough free space in your Dropbox for this file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dropbox refused the request (%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dropbox is receiving too many requests from this account. Try again in a minute.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dropbox could not understand the request of this program.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The link to your Dropbox account has expired. Link Dropbox again in the settings.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QDropboxAuth</name>
    <message>
        <source>Dropbox was not linked: no answer came from the browser in time.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dropbox cannot be linked: port %1 on this computer is used by another program. Close that program and try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No web browser could be opened to link Dropbox.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dropbox refused the link: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dropbox sent no usable access token.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dropbox was not linked: the link was declined in the browser (%1).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QDropboxAuthSocket</name>
    <message>
        <source>A Dropbox link answer that this program did not ask for was refused</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QDropboxFile</name>
    <message>
        <source>The file %1 changed while it was uploaded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dropbox sent a reply that could not be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dropbox did not store all of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dropbox sent no usable link for %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It was not uploaded.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RegistrationPage</name>
    <message>
        <source>Sign in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign in to Kuvo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Signing in...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>or sign in with</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No account yet? Sign up</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReplyGuard</name>
    <message>
        <source>The server took too long to answer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server&apos;s reply is too large</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ServerListener</name>
    <message>
        <source>Bad request</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The request could not be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This address only receives a sign-in.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Signed in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sign-in has reached the program. You can close this page now.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not signed in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sign-in was not completed. You can close this page now.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This sign-in was not started by Kuvo, or it is over already. Kuvo did not use it; start the sign-in again from Kuvo.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Setting</name>
    <message>
        <source>Slect screen capture game path</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingPage</name>
    <message>
        <source>Storage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hot key</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingWidget</name>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsAuthDelegate</name>
    <message>
        <source>Google disk</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsAuthDropboxPage</name>
    <message>
        <source>Linked to %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dropbox is not linked.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Used %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unlink</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for Dropbox in the browser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>If process uploaded throw error upload file on kuvo</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsAuthFtpPage</name>
    <message>
        <source>Check ftp connect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>If process uploaded throw error upload file on kuvo</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsAuthGoogleDiskPage</name>
    <message>
        <source>Google disk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This version cannot upload to Google disk, so it cannot be chosen as the storage. Uploads go to the storage that is chosen.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsAuthKuvoPage</name>
    <message>
        <source>Kuvo account</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Used %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are not signed in to Kuvo.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsAuthSftpPage</name>
    <message>
        <source>Check sftp connect</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsButtons</name>
    <message>
        <source>Reset by default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Accept</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsHotKeyDelegate</name>
    <message>
        <source>Primary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fragment screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quick screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Secondary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl + Enter - Send screenshot to selected storage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl + C - Copy screenshot to clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl + S - Save it to your computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl + C - Copy on clipboard #hex of color under cursor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Esc - Cancel the removal of a screenshot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Social</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl + Shift + F - Send screenshot to facebook</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl + Shift + T - Send screenshot to twitter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl + Shift + V - Send screenshot to vkontakte</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl + Shift + O - Send screenshot to odnoklassniki</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl + Shift + E - Send screenshot to e-mail</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsSettingDelegate</name>
    <message>
        <source>Image quality</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Low</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JPEG of quality 90: the smallest files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Average</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JPEG of quality 100</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG: every pixel as it was, the largest files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Additionally</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run application on system boot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use proxy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save screen copy to select folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show upload process to server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show information window after download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use in the screenshot name title of the active window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Receive a direct link to a screenshot or a file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show magnifier at the select rect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prevent the closure of the window screenshot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SqlWorker</name>
    <message>
        <source>the damaged file could not be moved aside</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SurfaceWindow</name>
    <message>
        <source>Cancel screen capture? All changes whill be lost!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do not show this window</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolBar</name>
    <message>
        <source>&lt;b&gt;Tool Move and transform&lt;/b&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Space - Switching to tool &quot;Move&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Substrate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The tool bar could not be shown.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Ellipse&lt;/b&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+ Shift - draw circle.
+ Ctrl - draws a filled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Rectangle&lt;/b&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+ Shift - draw square.
+ Ctrl - draws a filled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Pen&lt;/b&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+ Shift - Drawing a straight line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Marker&lt;/b&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Line&lt;/b&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+ Shift - drawing a straight line at angles of 45°.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Arrow&lt;/b&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+ Shift - drawing arrows at angles of 45°.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Text&lt;/b&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When you move the mouse while pressing the pre-draws an arrow pointing to the location.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Counter&lt;/b&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Blur&lt;/b&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Blackout&lt;/b&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Public</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolBarMenu</name>
    <message>
        <source>Public</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vkontakte</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Odnoklassniki</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Facebook</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Twitter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Updater</name>
    <message>
        <source>The update check failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The update check sent no valid version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The update to version %1 has no valid checksum</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The update could not be saved: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The update download failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The update download failed with status %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The update package is damaged: its checksum is %1 instead of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The update package holds no %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The update package could not be unpacked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The update could not be moved into %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The updater could not be unpacked into %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The updater could not be started</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The update to version %1 is offered from &quot;%2&quot;, not from the update host %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The update to version %1 is not signed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The update package was not signed by the maker of Kuvo: it is not installed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is larger than %1 bytes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UploadPage</name>
    <message>
        <source>Upload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Archive...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link already in the clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do not show this window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UploadWidget</name>
    <message>
        <source>Upload</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UserFile</name>
    <message>
        <source>%1 is a folder, not a file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 is too large: %2 MB, at most %3 MB can be opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 cannot be read: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You may not read the file %1: permission denied.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is a loop of symbolic links, not a file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 cannot be read: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not a file: a pipe, a socket or a device cannot be read.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ZipPacker</name>
    <message>
        <source>The file %1 cannot be read and was not packed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The archive cannot be written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Packing was cancelled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There are no files to pack</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It was not packed.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>useful</name>
    <message>
        <source>GB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KB</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
