<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
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
        <source>The browser could not be opened</source>
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
    <name>HandlerUpload</name>
    <message>
        <source>Uploading to %1 is not available yet. Choose the Kuvo service in the settings to upload.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 cannot be read and was not uploaded</source>
        <translation type="unfinished"></translation>
    </message>
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
    <message>
        <source>Packing files into an archive is not available yet. Upload the files without packing them.</source>
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
</context>
<context>
    <name>Setting</name>
    <message>
        <source>Slect screen capture game path</source>
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
        <source>The update to version %1 has no secure download address</source>
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
</context>
</TS>
