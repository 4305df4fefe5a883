<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="en">
<context>
    <name>Autorization</name>
    <message>
        <source>Please enter your e-mail</source>
        <translation>Введите адрес электронной почты</translation>
    </message>
    <message>
        <source>The e-mail is not valid</source>
        <translation>Неверный адрес электронной почты</translation>
    </message>
    <message>
        <source>Please enter your password</source>
        <translation>Введите пароль</translation>
    </message>
    <message>
        <source>The program cannot receive the sign-in from the browser</source>
        <translation>Программа не может принять вход из браузера</translation>
    </message>
    <message>
        <source>The browser could not be opened</source>
        <translation>Не удалось открыть браузер</translation>
    </message>
    <message>
        <source>The service did not grant access</source>
        <translation>Сервис не предоставил доступ</translation>
    </message>
    <message>
        <source>The sign-in has expired, please sign in again</source>
        <translation>Срок входа истёк, войдите снова</translation>
    </message>
</context>
<context>
    <name>HandlerUpload</name>
    <message>
        <source>Uploading to %1 is not available yet. Choose the Kuvo service in the settings to upload.</source>
        <translation>Загрузка в %1 пока недоступна. Чтобы загрузить, выберите в настройках сервис Kuvo.</translation>
    </message>
    <message>
        <source>The file %1 cannot be read and was not uploaded</source>
        <translation>Файл %1 не удалось прочитать, он не загружен</translation>
    </message>
    <message>
        <source>The service sent no usable link for %1</source>
        <translation>Сервис не прислал пригодную ссылку для %1</translation>
    </message>
    <message>
        <source>The service did not store all of %1</source>
        <translation>Сервис сохранил файл %1 не полностью</translation>
    </message>
    <message>
        <source>Upload of %1 failed: the network is not available</source>
        <translation>Не удалось загрузить %1: сеть недоступна</translation>
    </message>
    <message>
        <source>Upload of %1 failed: %2</source>
        <translation>Не удалось загрузить %1: %2</translation>
    </message>
</context>
<context>
    <name>NetworkAccessManager</name>
    <message>
        <source>The server refused the connection</source>
        <translation>Сервер отказал в соединении</translation>
    </message>
    <message>
        <source>The server closed the connection</source>
        <translation>Сервер закрыл соединение</translation>
    </message>
    <message>
        <source>The server was not found</source>
        <translation>Сервер не найден</translation>
    </message>
    <message>
        <source>The connection timed out</source>
        <translation>Время ожидания соединения истекло</translation>
    </message>
    <message>
        <source>The request was cancelled</source>
        <translation>Запрос отменён</translation>
    </message>
    <message>
        <source>A secure connection to the server could not be established</source>
        <translation>Не удалось установить защищённое соединение с сервером</translation>
    </message>
    <message>
        <source>The network is not available</source>
        <translation>Сеть недоступна</translation>
    </message>
    <message>
        <source>The proxy server is not reachable</source>
        <translation>Прокси-сервер недоступен</translation>
    </message>
    <message>
        <source>The proxy server needs a valid user name and password</source>
        <translation>Прокси-серверу нужны верные имя пользователя и пароль</translation>
    </message>
    <message>
        <source>Access denied: please sign in again</source>
        <translation>Доступ запрещён: войдите снова</translation>
    </message>
    <message>
        <source>The server does not know this address</source>
        <translation>Сервер не знает этот адрес</translation>
    </message>
    <message>
        <source>The server could not complete the request</source>
        <translation>Сервер не смог выполнить запрос</translation>
    </message>
    <message>
        <source>Network error %1</source>
        <translation>Ошибка сети %1</translation>
    </message>
</context>
<context>
    <name>NetworkExchange</name>
    <message>
        <source>Max upload total size </source>
        <translation>Максимальный общий размер загрузки </translation>
    </message>
    <message>
        <source>mb</source>
        <translation>МБ</translation>
    </message>
    <message>
        <source>Packing files into an archive is not available yet. Upload the files without packing them.</source>
        <translation>Упаковка файлов в архив пока недоступна. Загрузите файлы без упаковки.</translation>
    </message>
</context>
<context>
    <name>NetworkReadReply</name>
    <message>
        <source>The server sent a reply that could not be read</source>
        <translation>Сервер прислал ответ, который не удалось прочитать</translation>
    </message>
</context>
<context>
    <name>ServerListener</name>
    <message>
        <source>Bad request</source>
        <translation>Неверный запрос</translation>
    </message>
    <message>
        <source>The request could not be read.</source>
        <translation>Запрос не удалось прочитать.</translation>
    </message>
    <message>
        <source>This address only receives a sign-in.</source>
        <translation>Этот адрес принимает только вход в программу.</translation>
    </message>
    <message>
        <source>Signed in</source>
        <translation>Вход выполнен</translation>
    </message>
    <message>
        <source>The sign-in has reached the program. You can close this page now.</source>
        <translation>Программа получила данные входа. Эту страницу можно закрыть.</translation>
    </message>
</context>
<context>
    <name>Setting</name>
    <message>
        <source>Slect screen capture game path</source>
        <translation>Выберите папку для снимков игр</translation>
    </message>
</context>
<context>
    <name>Updater</name>
    <message>
        <source>The update check failed: %1</source>
        <translation>Не удалось проверить обновления: %1</translation>
    </message>
    <message>
        <source>The update check sent no valid version</source>
        <translation>Проверка обновлений не вернула правильный номер версии</translation>
    </message>
    <message>
        <source>The update to version %1 has no secure download address</source>
        <translation>У обновления до версии %1 нет защищённого адреса загрузки</translation>
    </message>
    <message>
        <source>The update to version %1 has no valid checksum</source>
        <translation>У обновления до версии %1 нет правильной контрольной суммы</translation>
    </message>
    <message>
        <source>The update could not be saved: %1</source>
        <translation>Не удалось сохранить обновление: %1</translation>
    </message>
    <message>
        <source>The update download failed: %1</source>
        <translation>Не удалось скачать обновление: %1</translation>
    </message>
    <message>
        <source>The update download failed with status %1</source>
        <translation>Не удалось скачать обновление: код ответа %1</translation>
    </message>
    <message>
        <source>The update package is damaged: its checksum is %1 instead of %2</source>
        <translation>Пакет обновления повреждён: его контрольная сумма %1 вместо %2</translation>
    </message>
    <message>
        <source>The update package holds no %1</source>
        <translation>В пакете обновления нет %1</translation>
    </message>
    <message>
        <source>The update package could not be unpacked</source>
        <translation>Не удалось распаковать пакет обновления</translation>
    </message>
    <message>
        <source>The update could not be moved into %1</source>
        <translation>Не удалось перенести обновление в %1</translation>
    </message>
    <message>
        <source>The updater could not be unpacked into %1</source>
        <translation>Не удалось распаковать программу обновления в %1</translation>
    </message>
    <message>
        <source>The updater could not be started</source>
        <translation>Не удалось запустить программу обновления</translation>
    </message>
</context>
</TS>
