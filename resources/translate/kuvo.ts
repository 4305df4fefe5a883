<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="en">
<context>
    <name>ArrowForm</name>
    <message>
        <source>Form</source>
        <translation>Форма</translation>
    </message>
</context>
<context>
    <name>AudioImagePlayer</name>
    <message>
        <source>Audio comment</source>
        <translation>Голосовой комментарий</translation>
    </message>
    <message>
        <source>The picture of %1 is damaged.</source>
        <translation>Картинка файла %1 повреждена.</translation>
    </message>
    <message>
        <source>The picture of %1 is too large: %2 x %3 pixels, at most %4 x %4.</source>
        <translation>Картинка файла %1 слишком велика: %2 x %3 пикселей, допустимо не больше %4 x %4.</translation>
    </message>
</context>
<context>
    <name>AudioPlayer</name>
    <message>
        <source>Audio comment</source>
        <translation>Голосовой комментарий</translation>
    </message>
</context>
<context>
    <name>AudioThreadPlay</name>
    <message>
        <source>The sound of this file is not a WAV recording that can be played.</source>
        <translation>Звук этого файла не является записью WAV, которую можно воспроизвести.</translation>
    </message>
    <message>
        <source>No audio device was found: the sound cannot be played.</source>
        <translation>Звуковое устройство не найдено: звук не может быть воспроизведён.</translation>
    </message>
    <message>
        <source>The audio device cannot play this sound (%1 Hz, %2 channels, %3 bits).</source>
        <translation>Звуковое устройство не может воспроизвести этот звук (%1 Гц, каналов: %2, %3 бит).</translation>
    </message>
    <message>
        <source>The audio device could not be opened: the sound cannot be played.</source>
        <translation>Не удалось открыть звуковое устройство: звук не может быть воспроизведён.</translation>
    </message>
</context>
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
        <source>The service did not grant access</source>
        <translation>Сервис не предоставил доступ</translation>
    </message>
    <message>
        <source>The sign-in has expired, please sign in again</source>
        <translation>Срок входа истёк, войдите снова</translation>
    </message>
</context>
<context>
    <name>Browser</name>
    <message>
        <source>The browser could not be opened</source>
        <translation>Не удалось открыть браузер</translation>
    </message>
</context>
<context>
    <name>CheckedSaveFile</name>
    <message>
        <source>Only %1 of %2 bytes could be written.</source>
        <translation>Удалось записать только %1 из %2 байт.</translation>
    </message>
    <message>
        <source>Only %1 of %2 bytes reached the disk.</source>
        <translation>На диск попало только %1 из %2 байт.</translation>
    </message>
</context>
<context>
    <name>Core</name>
    <message>
        <source>Error start socket</source>
        <translation>Ошибка запуска сокета</translation>
    </message>
    <message>
        <source>No local port is free for the sign-in through the browser. Kuvo closes in 10 seconds.</source>
        <translation>Нет свободного локального порта для входа через браузер. Kuvo закроется через 10 секунд.</translation>
    </message>
    <message>
        <source>Internet is not available. The files were not uploaded.</source>
        <translation>Интернет недоступен. Файлы не загружены.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Предупреждение</translation>
    </message>
    <message>
        <source>Internet is not available. Save file to disk ?</source>
        <translation>Интернет недоступен. Сохранить файл на диск?</translation>
    </message>
    <message>
        <source>The file could not be saved as %1: %2</source>
        <translation>Не удалось сохранить файл как %1: %2</translation>
    </message>
    <message>
        <source>The picture could not be saved to %1: %2</source>
        <translation>Не удалось сохранить снимок в %1: %2</translation>
    </message>
    <message>
        <source>Select folder</source>
        <translation>Выберите папку</translation>
    </message>
    <message>
        <source>Autorization</source>
        <translation>Авторизация</translation>
    </message>
    <message>
        <source>Capture fragment</source>
        <translation>Снимок фрагмента</translation>
    </message>
    <message>
        <source>Capture fullscreen</source>
        <translation>Снимок всего экрана</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>History</source>
        <translation>История</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Помощь</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>Open last link</source>
        <translation>Открыть последнюю ссылку</translation>
    </message>
    <message>
        <source>Copy last link</source>
        <translation>Скопировать последнюю ссылку</translation>
    </message>
    <message>
        <source>Hey! I Kuvo. The faster program to create screenshots and transfer files over a network. Are you forgot for me ? Let`s do screenshot!</source>
        <translation>Привет! Я Kuvo — самая быстрая программа для снимков экрана и передачи файлов по сети. Вы про меня не забыли? Давайте сделаем снимок!</translation>
    </message>
    <message>
        <source>Changes to the settings cannot be kept: %1</source>
        <translation>Изменения настроек не удаётся сохранить: %1</translation>
    </message>
    <message>
        <source>The settings file was damaged. What could be read from it was kept; settings that could not be read are back to their defaults. The damaged file was moved to %1.</source>
        <translation>Файл настроек был повреждён. Всё, что удалось из него прочитать, сохранено; настройки, которые прочитать не удалось, возвращены к значениям по умолчанию. Повреждённый файл перемещён в %1.</translation>
    </message>
    <message>
        <source>The settings file %1 cannot be written. Kuvo runs with the settings it holds, but changes to them cannot be kept.</source>
        <translation>Файл настроек %1 недоступен для записи. Kuvo работает с сохранёнными в нём настройками, но изменения сохранить не удастся.</translation>
    </message>
    <message>
        <source>The settings file cannot be opened (%1). Kuvo runs with the default settings, and changes to them cannot be kept.</source>
        <translation>Не удаётся открыть файл настроек (%1). Kuvo работает с настройками по умолчанию, и изменения сохранить не удастся.</translation>
    </message>
    <message>
        <source>The picture was not saved. Save it somewhere else?</source>
        <translation>Снимок не сохранён. Сохранить его в другое место?</translation>
    </message>
    <message>
        <source>The sound could not be recorded: %1</source>
        <translation>Не удалось записать звук: %1</translation>
    </message>
    <message>
        <source>No microphone was found: the sound cannot be recorded.</source>
        <translation>Микрофон не найден: звук не может быть записан.</translation>
    </message>
    <message>
        <source>The picture could not be saved to %1</source>
        <translation>Не удалось сохранить картинку в %1</translation>
    </message>
    <message>
        <source>Storage</source>
        <translation>Хранилище</translation>
    </message>
    <message>
        <source>This version cannot upload to Google disk. Uploads go to the Kuvo service; another storage can be chosen in the settings.</source>
        <translation>Эта версия не умеет загружать на Google Диск. Файлы загружаются в сервис Kuvo; другое хранилище можно выбрать в настройках.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>%1
Save file to disk ?</source>
        <translation>%1
Сохранить файл на диск?</translation>
    </message>
    <message>
        <source>%1
Sign in again ?</source>
        <translation>%1
Войти заново?</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Загрузка</translation>
    </message>
</context>
<context>
    <name>CurlTarget</name>
    <message>
        <source>Enter the address of the server</source>
        <translation>Введите адрес сервера</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a valid server address</source>
        <translation>«%1» — неверный адрес сервера</translation>
    </message>
    <message>
        <source>The port must be a number from 1 to 65535</source>
        <translation>Порт должен быть числом от 1 до 65535</translation>
    </message>
</context>
<context>
    <name>CurlTransfer</name>
    <message>
        <source>The transfer was cancelled</source>
        <translation>Передача отменена</translation>
    </message>
    <message>
        <source>The server %1 was not found</source>
        <translation>Сервер %1 не найден</translation>
    </message>
    <message>
        <source>The server %1 refused the connection on port %2</source>
        <translation>Сервер %1 отказал в соединении на порту %2</translation>
    </message>
    <message>
        <source>The server %1 did not answer in time</source>
        <translation>Сервер %1 не ответил вовремя</translation>
    </message>
    <message>
        <source>Wrong user name or password for %1</source>
        <translation>Неверное имя пользователя или пароль для %1</translation>
    </message>
    <message>
        <source>The folder %1 on %2 is missing or not writable</source>
        <translation>Папка %1 на %2 отсутствует или недоступна для записи</translation>
    </message>
    <message>
        <source>The server %1 has no room left for the file</source>
        <translation>На сервере %1 не осталось места для файла</translation>
    </message>
    <message>
        <source>The file %1 could not be read</source>
        <translation>Не удалось прочитать файл %1</translation>
    </message>
    <message>
        <source>The transfer to %1 failed</source>
        <translation>Не удалось передать файл на %1</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>The host key of %1 has changed: this may not be the server you set up. If its key was replaced on purpose, remove its line from %2 and try again.</source>
        <translation>Ключ сервера %1 изменился: возможно, это не тот сервер, который вы настроили. Если ключ заменили намеренно, удалите его строку из %2 и попробуйте снова.</translation>
    </message>
    <message>
        <source>The host key of %1 could not be stored in %2</source>
        <translation>Не удалось сохранить ключ сервера %1 в %2</translation>
    </message>
    <message>
        <source>The identity of the server %1 could not be checked</source>
        <translation>Не удалось проверить подлинность сервера %1</translation>
    </message>
    <message>
        <source>The file name %1 cannot be sent to a server</source>
        <translation>Имя файла %1 нельзя передать серверу</translation>
    </message>
    <message>
        <source>The file %1 became shorter while it was sent</source>
        <translation>Файл %1 стал короче во время отправки</translation>
    </message>
</context>
<context>
    <name>CurlUpload</name>
    <message>
        <source>Another upload to this server is still running</source>
        <translation>Другая загрузка на этот сервер ещё не закончена</translation>
    </message>
    <message>
        <source>Well done</source>
        <translation>Готово</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
</context>
<context>
    <name>DropboxAuth</name>
    <message>
        <source>Dropbox is linked, but the account&apos;s details could not be read: %1</source>
        <translation>Dropbox подключён, но данные учётной записи прочитать не удалось: %1</translation>
    </message>
</context>
<context>
    <name>ErrorDialog</name>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>ОК</translation>
    </message>
</context>
<context>
    <name>FontWindow</name>
    <message>
        <source>Font</source>
        <translation>Шрифт</translation>
    </message>
    <message>
        <source>Current font </source>
        <translation>Текущий шрифт </translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Жирный</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Курсив</translation>
    </message>
</context>
<context>
    <name>FtpConnectionForm</name>
    <message>
        <source>Host</source>
        <translation>Хост</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Порт</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Пользователь</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Пароль</translation>
    </message>
    <message>
        <source>Upload path</source>
        <translation>Папка загрузки</translation>
    </message>
    <message>
        <source>Base url</source>
        <translation>Базовый адрес</translation>
    </message>
</context>
<context>
    <name>HandleDropboxUpload</name>
    <message>
        <source>The upload to Dropbox was stopped.</source>
        <translation>Загрузка в Dropbox остановлена.</translation>
    </message>
    <message>
        <source>Dropbox is not linked. Link your Dropbox account in the settings to upload there.</source>
        <translation>Dropbox не подключён. Подключите учётную запись Dropbox в настройках, чтобы загружать туда.</translation>
    </message>
    <message>
        <source>The file %1 cannot be read and was not uploaded</source>
        <translation>Файл %1 не удалось прочитать, он не загружен</translation>
    </message>
    <message>
        <source>The upload to Dropbox was cancelled.</source>
        <translation>Загрузка в Dropbox отменена.</translation>
    </message>
    <message>
        <source>Upload of %1 to Dropbox failed: %2</source>
        <translation>Не удалось загрузить %1 в Dropbox: %2</translation>
    </message>
</context>
<context>
    <name>HandleFTPUpload</name>
    <message>
        <source>FTP connection is avaliable</source>
        <translation>FTP-соединение доступно</translation>
    </message>
</context>
<context>
    <name>HandleSFTPUpload</name>
    <message>
        <source>SFTP connection is avaliable</source>
        <translation>SFTP-соединение доступно</translation>
    </message>
</context>
<context>
    <name>HandlerUpload</name>
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
    <message>
        <source>Upload of %1 to %2 failed: %3; it goes to Kuvo instead</source>
        <translation>Загрузка %1 на %2 не удалась: %3; файл отправляется в Kuvo</translation>
    </message>
    <message>
        <source>The upload to %1 failed (%2); the file went to Kuvo instead.</source>
        <translation>Загрузка на %1 не удалась (%2); файл загружен в Kuvo.</translation>
    </message>
    <message>
        <source>It was not uploaded.</source>
        <translation>Он не загружен.</translation>
    </message>
</context>
<context>
    <name>HookKeybord</name>
    <message>
        <source>The key combination %1 cannot be used: another program may hold it.</source>
        <translation>Сочетание клавиш %1 использовать нельзя: возможно, его заняла другая программа.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a key combination.</source>
        <translation>«%1» не является сочетанием клавиш.</translation>
    </message>
</context>
<context>
    <name>HootKeyInput</name>
    <message>
        <source>Press a key combination</source>
        <translation>Нажмите сочетание клавиш</translation>
    </message>
    <message>
        <source>Esc for cancel</source>
        <translation>Esc — отмена</translation>
    </message>
</context>
<context>
    <name>HotKeyRow</name>
    <message>
        <source>Change</source>
        <translation>Изменить</translation>
    </message>
</context>
<context>
    <name>KTextEdit</name>
    <message>
        <source>Your feedback</source>
        <translation>Ваш отзыв</translation>
    </message>
</context>
<context>
    <name>KaiLibrary</name>
    <message>
        <source>The image+audio library %1 is missing or damaged: files with sound cannot be read or written.</source>
        <translation>Библиотека изображений со звуком %1 отсутствует или повреждена: файлы со звуком нельзя прочитать или записать.</translation>
    </message>
    <message>
        <source>The image+audio library %1 lacks its entry points: files with sound cannot be read or written.</source>
        <translation>В библиотеке изображений со звуком %1 нет нужных функций: файлы со звуком нельзя прочитать или записать.</translation>
    </message>
    <message>
        <source>The file %1 could not be written.</source>
        <translation>Не удалось записать файл %1.</translation>
    </message>
    <message>
        <source>The file %1 is not a picture with sound, or it is damaged.</source>
        <translation>Файл %1 не является картинкой со звуком или повреждён.</translation>
    </message>
</context>
<context>
    <name>LastUploadPage</name>
    <message>
        <source>Upload</source>
        <translation>Загрузка</translation>
    </message>
    <message>
        <source>Upload complete</source>
        <translation>Загрузка завершена</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Открыть</translation>
    </message>
    <message>
        <source>Open link in the last screenshot/file</source>
        <translation>Открыть ссылку на последний снимок или файл</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Копировать</translation>
    </message>
    <message>
        <source>Copy link of the last screenshot/file</source>
        <translation>Скопировать ссылку на последний снимок или файл</translation>
    </message>
    <message>
        <source>Do not show this window</source>
        <translation>Больше не показывать это окно</translation>
    </message>
</context>
<context>
    <name>LastUploadWidget</name>
    <message>
        <source>Upload</source>
        <translation>Загрузка</translation>
    </message>
</context>
<context>
    <name>LicenseDialog</name>
    <message>
        <source>Terms of use</source>
        <translation>Условия использования</translation>
    </message>
    <message>
        <source>I accept the agreement</source>
        <translation>Я принимаю соглашение</translation>
    </message>
    <message>
        <source>Start use kuvo</source>
        <translation>Начать работу с Kuvo</translation>
    </message>
</context>
<context>
    <name>MainToolPage</name>
    <message>
        <source>Fragment</source>
        <translation>Фрагмент</translation>
    </message>
    <message>
        <source>Capture fragment screen</source>
        <translation>Снимок фрагмента экрана</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Весь экран</translation>
    </message>
    <message>
        <source>Fullscreen - capture full screen</source>
        <translation>Весь экран — снимок всего экрана</translation>
    </message>
    <message>
        <source>History</source>
        <translation>История</translation>
    </message>
    <message>
        <source>History - show history</source>
        <translation>История — показать историю</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Last upload</source>
        <translation>Последняя загрузка</translation>
    </message>
    <message>
        <source>Nothing uploaded yet</source>
        <translation>Пока ничего не загружено</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Открыть</translation>
    </message>
    <message>
        <source>Open link in the last screenshot/file</source>
        <translation>Открыть ссылку на последний снимок или файл</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Копировать</translation>
    </message>
    <message>
        <source>Copy link of the last screenshot/file</source>
        <translation>Скопировать ссылку на последний снимок или файл</translation>
    </message>
    <message>
        <source>To get started with Kuvo you must log</source>
        <translation>Чтобы начать работу с Kuvo, войдите</translation>
    </message>
    <message>
        <source>Enter to kuvo</source>
        <translation>Войти в Kuvo</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Помощь</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Выход</translation>
    </message>
</context>
<context>
    <name>MessageDialog</name>
    <message>
        <source>Ok</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
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
    <message>
        <source>The server answered with status %1</source>
        <translation>Сервер ответил с кодом %1</translation>
    </message>
    <message>
        <source>The server sent the request to another address</source>
        <translation>Сервер перенаправил запрос на другой адрес</translation>
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
</context>
<context>
    <name>NetworkReadReply</name>
    <message>
        <source>The server sent a reply that could not be read</source>
        <translation>Сервер прислал ответ, который не удалось прочитать</translation>
    </message>
</context>
<context>
    <name>PictureFormat</name>
    <message>
        <source>There is no picture to save.</source>
        <translation>Нет снимка для сохранения.</translation>
    </message>
</context>
<context>
    <name>PictureSaveDialog</name>
    <message>
        <source>Save file</source>
        <translation>Сохранить файл</translation>
    </message>
</context>
<context>
    <name>PonoramControls</name>
    <message>
        <source>Finish the scrolling capture</source>
        <translation>Завершить снимок с прокруткой</translation>
    </message>
    <message>
        <source>Cancel the scrolling capture</source>
        <translation>Отменить снимок с прокруткой</translation>
    </message>
    <message>
        <source>Scrolling capture</source>
        <translation>Снимок с прокруткой</translation>
    </message>
    <message>
        <source>Press &quot;Play&quot; and use wheel or application scroll and drop his down</source>
        <translation>Нажмите «Play» и прокручивайте документ колесом мыши или полосой прокрутки вниз</translation>
    </message>
</context>
<context>
    <name>PonoramView</name>
    <message>
        <source>The panorama has reached its greatest height and ends here</source>
        <translation>Панорама достигла наибольшей высоты и заканчивается здесь</translation>
    </message>
    <message>
        <source>The document scrolled too far at once; the panorama ends here</source>
        <translation>Документ прокручен слишком далеко за раз; панорама заканчивается здесь</translation>
    </message>
    <message>
        <source>A blank stretch was too tall to measure; the panorama ends above it</source>
        <translation>Пустой участок был слишком высок, чтобы его измерить; панорама заканчивается над ним</translation>
    </message>
</context>
<context>
    <name>ProxyPage</name>
    <message>
        <source>Proxy setting</source>
        <translation>Настройки прокси</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>Хост</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Порт</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Логин</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Пароль</translation>
    </message>
    <message>
        <source>Accept</source>
        <translation>Принять</translation>
    </message>
</context>
<context>
    <name>PushButton</name>
    <message>
        <source>Push button</source>
        <translation>Кнопка</translation>
    </message>
</context>
<context>
    <name>QDropbox</name>
    <message>
        <source>There is not enough free space in your Dropbox for this file.</source>
        <translation>В вашем Dropbox недостаточно места для этого файла.</translation>
    </message>
    <message>
        <source>Dropbox refused the request (%1).</source>
        <translation>Dropbox отклонил запрос (%1).</translation>
    </message>
    <message>
        <source>Dropbox is receiving too many requests from this account. Try again in a minute.</source>
        <translation>Dropbox получает слишком много запросов от этой учётной записи. Попробуйте через минуту.</translation>
    </message>
    <message>
        <source>Dropbox could not understand the request of this program.</source>
        <translation>Dropbox не понял запрос этой программы.</translation>
    </message>
    <message>
        <source>The link to your Dropbox account has expired. Link Dropbox again in the settings.</source>
        <translation>Срок подключения к Dropbox истёк. Подключите Dropbox снова в настройках.</translation>
    </message>
</context>
<context>
    <name>QDropboxAuth</name>
    <message>
        <source>Dropbox was not linked: no answer came from the browser in time.</source>
        <translation>Dropbox не подключён: ответ из браузера не пришёл вовремя.</translation>
    </message>
    <message>
        <source>Dropbox cannot be linked: port %1 on this computer is used by another program. Close that program and try again.</source>
        <translation>Не удаётся подключить Dropbox: порт %1 на этом компьютере занят другой программой. Закройте её и попробуйте снова.</translation>
    </message>
    <message>
        <source>No web browser could be opened to link Dropbox.</source>
        <translation>Не удалось открыть браузер для подключения Dropbox.</translation>
    </message>
    <message>
        <source>Dropbox refused the link: %1</source>
        <translation>Dropbox отказал в подключении: %1</translation>
    </message>
    <message>
        <source>Dropbox sent no usable access token.</source>
        <translation>Dropbox не прислал пригодный ключ доступа.</translation>
    </message>
    <message>
        <source>Dropbox was not linked: the link was declined in the browser (%1).</source>
        <translation>Dropbox не подключён: подключение отклонено в браузере (%1).</translation>
    </message>
</context>
<context>
    <name>QDropboxAuthSocket</name>
    <message>
        <source>A Dropbox link answer that this program did not ask for was refused</source>
        <translation>Отклонён ответ Dropbox на подключение, которое эта программа не запрашивала</translation>
    </message>
</context>
<context>
    <name>QDropboxFile</name>
    <message>
        <source>The file %1 changed while it was uploaded</source>
        <translation>Файл %1 изменился во время загрузки</translation>
    </message>
    <message>
        <source>Dropbox sent a reply that could not be read</source>
        <translation>Dropbox прислал ответ, который не удалось прочитать</translation>
    </message>
    <message>
        <source>Dropbox did not store all of %1</source>
        <translation>Dropbox сохранил файл %1 не полностью</translation>
    </message>
    <message>
        <source>Dropbox sent no usable link for %1</source>
        <translation>Dropbox не прислал пригодную ссылку для %1</translation>
    </message>
    <message>
        <source>It was not uploaded.</source>
        <translation>Он не загружен.</translation>
    </message>
</context>
<context>
    <name>RegistrationPage</name>
    <message>
        <source>Sign in</source>
        <translation>Войти</translation>
    </message>
    <message>
        <source>Sign in to Kuvo</source>
        <translation>Вход в Kuvo</translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation>Эл. почта</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Пароль</translation>
    </message>
    <message>
        <source>Signing in...</source>
        <translation>Выполняется вход...</translation>
    </message>
    <message>
        <source>or sign in with</source>
        <translation>или войдите через</translation>
    </message>
    <message>
        <source>No account yet? Sign up</source>
        <translation>Ещё нет учётной записи? Зарегистрируйтесь</translation>
    </message>
</context>
<context>
    <name>ReplyGuard</name>
    <message>
        <source>The server took too long to answer</source>
        <translation>Сервер слишком долго не отвечает</translation>
    </message>
    <message>
        <source>The server&apos;s reply is too large</source>
        <translation>Ответ сервера слишком велик</translation>
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
    <message>
        <source>Not signed in</source>
        <translation>Вход не выполнен</translation>
    </message>
    <message>
        <source>The sign-in was not completed. You can close this page now.</source>
        <translation>Вход не завершён. Эту страницу можно закрыть.</translation>
    </message>
    <message>
        <source>This sign-in was not started by Kuvo, or it is over already. Kuvo did not use it; start the sign-in again from Kuvo.</source>
        <translation>Этот вход начат не в Kuvo или уже закончился. Kuvo его не использовал; начните вход заново из Kuvo.</translation>
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
    <name>SettingPage</name>
    <message>
        <source>Storage</source>
        <translation>Хранилище</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Hot key</source>
        <translation>Горячие клавиши</translation>
    </message>
    <message>
        <source>Version </source>
        <translation>Версия </translation>
    </message>
</context>
<context>
    <name>SettingWidget</name>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
</context>
<context>
    <name>SettingsAuthDelegate</name>
    <message>
        <source>Google disk</source>
        <translation>Google Диск</translation>
    </message>
</context>
<context>
    <name>SettingsAuthDropboxPage</name>
    <message>
        <source>Linked to %1 (%2)</source>
        <translation>Подключён аккаунт %1 (%2)</translation>
    </message>
    <message>
        <source>Dropbox is not linked.</source>
        <translation>Dropbox не подключён.</translation>
    </message>
    <message>
        <source>Used %1 of %2</source>
        <translation>Занято %1 из %2</translation>
    </message>
    <message>
        <source>Link</source>
        <translation>Подключить</translation>
    </message>
    <message>
        <source>Unlink</source>
        <translation>Отключить</translation>
    </message>
    <message>
        <source>Waiting for Dropbox in the browser</source>
        <translation>Ждём ответа Dropbox в браузере</translation>
    </message>
    <message>
        <source>If process uploaded throw error upload file on kuvo</source>
        <translation>Если загрузка не удалась, загрузить файл на Kuvo</translation>
    </message>
</context>
<context>
    <name>SettingsAuthFtpPage</name>
    <message>
        <source>Check ftp connect</source>
        <translation>Проверить соединение FTP</translation>
    </message>
    <message>
        <source>If process uploaded throw error upload file on kuvo</source>
        <translation>Если загрузка не удалась, загрузить файл на Kuvo</translation>
    </message>
</context>
<context>
    <name>SettingsAuthGoogleDiskPage</name>
    <message>
        <source>Google disk</source>
        <translation>Google Диск</translation>
    </message>
    <message>
        <source>This version cannot upload to Google disk, so it cannot be chosen as the storage. Uploads go to the storage that is chosen.</source>
        <translation>Эта версия не умеет загружать на Google Диск, поэтому его нельзя выбрать хранилищем. Файлы загружаются в выбранное хранилище.</translation>
    </message>
</context>
<context>
    <name>SettingsAuthKuvoPage</name>
    <message>
        <source>Kuvo account</source>
        <translation>Аккаунт Kuvo</translation>
    </message>
    <message>
        <source>Used %1 of %2</source>
        <translation>Занято %1 из %2</translation>
    </message>
    <message>
        <source>Sign out</source>
        <translation>Выйти</translation>
    </message>
    <message>
        <source>You are not signed in to Kuvo.</source>
        <translation>Вы не вошли в Kuvo.</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>Войти</translation>
    </message>
</context>
<context>
    <name>SettingsAuthSftpPage</name>
    <message>
        <source>Check sftp connect</source>
        <translation>Проверить соединение SFTP</translation>
    </message>
</context>
<context>
    <name>SettingsButtons</name>
    <message>
        <source>Reset by default</source>
        <translation>По умолчанию</translation>
    </message>
    <message>
        <source>Accept</source>
        <translation>Принять</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>SettingsHotKeyDelegate</name>
    <message>
        <source>Primary</source>
        <translation>Основные</translation>
    </message>
    <message>
        <source>Fragment screen</source>
        <translation>Снимок фрагмента</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Весь экран</translation>
    </message>
    <message>
        <source>Quick screen</source>
        <translation>Быстрый снимок</translation>
    </message>
    <message>
        <source>Secondary</source>
        <translation>Дополнительные</translation>
    </message>
    <message>
        <source>Ctrl + Enter - Send screenshot to selected storage</source>
        <translation>Ctrl + Enter - отправить снимок в выбранное хранилище</translation>
    </message>
    <message>
        <source>Ctrl + C - Copy screenshot to clipboard</source>
        <translation>Ctrl + C - скопировать снимок в буфер обмена</translation>
    </message>
    <message>
        <source>Ctrl + S - Save it to your computer</source>
        <translation>Ctrl + S - сохранить снимок на компьютер</translation>
    </message>
    <message>
        <source>Ctrl + C - Copy on clipboard #hex of color under cursor</source>
        <translation>Ctrl + C - скопировать в буфер #hex цвета под курсором</translation>
    </message>
    <message>
        <source>Esc - Cancel the removal of a screenshot</source>
        <translation>Esc - отменить снимок</translation>
    </message>
    <message>
        <source>Social</source>
        <translation>Социальные сети</translation>
    </message>
    <message>
        <source>Ctrl + Shift + F - Send screenshot to facebook</source>
        <translation>Ctrl + Shift + F - отправить снимок в Facebook</translation>
    </message>
    <message>
        <source>Ctrl + Shift + T - Send screenshot to twitter</source>
        <translation>Ctrl + Shift + T - отправить снимок в Twitter</translation>
    </message>
    <message>
        <source>Ctrl + Shift + V - Send screenshot to vkontakte</source>
        <translation>Ctrl + Shift + V - отправить снимок во ВКонтакте</translation>
    </message>
    <message>
        <source>Ctrl + Shift + O - Send screenshot to odnoklassniki</source>
        <translation>Ctrl + Shift + O - отправить снимок в Одноклассники</translation>
    </message>
    <message>
        <source>Ctrl + Shift + E - Send screenshot to e-mail</source>
        <translation>Ctrl + Shift + E - отправить снимок по e-mail</translation>
    </message>
</context>
<context>
    <name>SettingsSettingDelegate</name>
    <message>
        <source>Image quality</source>
        <translation>Качество снимков</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Низкое</translation>
    </message>
    <message>
        <source>JPEG of quality 90: the smallest files</source>
        <translation>JPEG с качеством 90: самые маленькие файлы</translation>
    </message>
    <message>
        <source>Average</source>
        <translation>Среднее</translation>
    </message>
    <message>
        <source>JPEG of quality 100</source>
        <translation>JPEG с качеством 100</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Высокое</translation>
    </message>
    <message>
        <source>PNG: every pixel as it was, the largest files</source>
        <translation>PNG: все пиксели без потерь, самые большие файлы</translation>
    </message>
    <message>
        <source>Additionally</source>
        <translation>Дополнительно</translation>
    </message>
    <message>
        <source>Run application on system boot</source>
        <translation>Запускать программу при старте системы</translation>
    </message>
    <message>
        <source>Use proxy</source>
        <translation>Использовать прокси</translation>
    </message>
    <message>
        <source>Save screen copy to select folder</source>
        <translation>Сохранять копию снимка в выбранную папку</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Изменить</translation>
    </message>
    <message>
        <source>Show upload process to server</source>
        <translation>Показывать ход загрузки на сервер</translation>
    </message>
    <message>
        <source>Show information window after download</source>
        <translation>Показывать окно с информацией после загрузки</translation>
    </message>
    <message>
        <source>Use in the screenshot name title of the active window</source>
        <translation>Использовать в имени снимка заголовок активного окна</translation>
    </message>
    <message>
        <source>Receive a direct link to a screenshot or a file</source>
        <translation>Получать прямую ссылку на снимок или файл</translation>
    </message>
    <message>
        <source>Show magnifier at the select rect</source>
        <translation>Показывать лупу при выделении области</translation>
    </message>
    <message>
        <source>Prevent the closure of the window screenshot</source>
        <translation>Спрашивать перед закрытием окна снимка</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Язык</translation>
    </message>
</context>
<context>
    <name>SqlWorker</name>
    <message>
        <source>the damaged file could not be moved aside</source>
        <translation>повреждённый файл не удалось переместить</translation>
    </message>
</context>
<context>
    <name>SurfaceWindow</name>
    <message>
        <source>Cancel screen capture? All changes whill be lost!</source>
        <translation>Отменить снимок экрана? Все изменения будут потеряны!</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Да</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Нет</translation>
    </message>
    <message>
        <source>Do not show this window</source>
        <translation>Больше не показывать это окно</translation>
    </message>
</context>
<context>
    <name>ToolBar</name>
    <message>
        <source>&lt;b&gt;Tool Move and transform&lt;/b&gt;</source>
        <translation>&lt;b&gt;Инструмент «Перемещение и изменение»&lt;/b&gt;</translation>
    </message>
    <message>
        <source>Space - Switching to tool &quot;Move&quot;</source>
        <translation>Пробел — переключение на инструмент «Перемещение»</translation>
    </message>
    <message>
        <source>Substrate</source>
        <translation>Подложка</translation>
    </message>
    <message>
        <source>The tool bar could not be shown.</source>
        <translation>Не удалось показать панель инструментов.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Ellipse&lt;/b&gt;</source>
        <translation>&lt;b&gt;Инструмент «Эллипс»&lt;/b&gt;</translation>
    </message>
    <message>
        <source>+ Shift - draw circle.
+ Ctrl - draws a filled.</source>
        <translation>+ Shift — круг.
+ Ctrl — закрашенный.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Rectangle&lt;/b&gt;</source>
        <translation>&lt;b&gt;Инструмент «Прямоугольник»&lt;/b&gt;</translation>
    </message>
    <message>
        <source>+ Shift - draw square.
+ Ctrl - draws a filled.</source>
        <translation>+ Shift — квадрат.
+ Ctrl — закрашенный.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Pen&lt;/b&gt;</source>
        <translation>&lt;b&gt;Инструмент «Карандаш»&lt;/b&gt;</translation>
    </message>
    <message>
        <source>+ Shift - Drawing a straight line</source>
        <translation>+ Shift — прямая линия</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Marker&lt;/b&gt;</source>
        <translation>&lt;b&gt;Инструмент «Маркер»&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Line&lt;/b&gt;</source>
        <translation>&lt;b&gt;Инструмент «Линия»&lt;/b&gt;</translation>
    </message>
    <message>
        <source>+ Shift - drawing a straight line at angles of 45°.</source>
        <translation>+ Shift — прямая линия под углом, кратным 45°.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Arrow&lt;/b&gt;</source>
        <translation>&lt;b&gt;Инструмент «Стрелка»&lt;/b&gt;</translation>
    </message>
    <message>
        <source>+ Shift - drawing arrows at angles of 45°.</source>
        <translation>+ Shift — стрелка под углом, кратным 45°.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Text&lt;/b&gt;</source>
        <translation>&lt;b&gt;Инструмент «Текст»&lt;/b&gt;</translation>
    </message>
    <message>
        <source>When you move the mouse while pressing the pre-draws an arrow pointing to the location.</source>
        <translation>Если вести мышь с нажатой кнопкой, к тексту рисуется стрелка, указывающая на место нажатия.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Counter&lt;/b&gt;</source>
        <translation>&lt;b&gt;Инструмент «Счётчик»&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Blur&lt;/b&gt;</source>
        <translation>&lt;b&gt;Инструмент «Размытие»&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Blackout&lt;/b&gt;</source>
        <translation>&lt;b&gt;Инструмент «Затемнение»&lt;/b&gt;</translation>
    </message>
    <message>
        <source>Public</source>
        <translation>Опубликовать</translation>
    </message>
</context>
<context>
    <name>ToolBarMenu</name>
    <message>
        <source>Public</source>
        <translation>Опубликовать</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Копировать</translation>
    </message>
    <message>
        <source>Vkontakte</source>
        <translation>ВКонтакте</translation>
    </message>
    <message>
        <source>Odnoklassniki</source>
        <translation>Одноклассники</translation>
    </message>
    <message>
        <source>Facebook</source>
        <translation>Facebook</translation>
    </message>
    <message>
        <source>Twitter</source>
        <translation>Twitter</translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation>Эл. почта</translation>
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
    <message>
        <source>The update to version %1 is offered from &quot;%2&quot;, not from the update host %3</source>
        <translation>Обновление до версии %1 предлагается с «%2», а не с сервера обновлений %3</translation>
    </message>
    <message>
        <source>The update to version %1 is not signed</source>
        <translation>Обновление до версии %1 не подписано</translation>
    </message>
    <message>
        <source>The update package was not signed by the maker of Kuvo: it is not installed</source>
        <translation>Пакет обновления подписан не разработчиком Kuvo: он не установлен</translation>
    </message>
    <message>
        <source>it is larger than %1 bytes</source>
        <translation>он больше %1 байт</translation>
    </message>
</context>
<context>
    <name>UploadPage</name>
    <message>
        <source>Upload</source>
        <translation>Загрузка</translation>
    </message>
    <message>
        <source>Archive...</source>
        <translation>Архивация...</translation>
    </message>
    <message>
        <source>Upload...</source>
        <translation>Загрузка...</translation>
    </message>
    <message>
        <source>Link already in the clipboard</source>
        <translation>Ссылка уже в буфере обмена</translation>
    </message>
    <message>
        <source>Do not show this window</source>
        <translation>Больше не показывать это окно</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>UploadWidget</name>
    <message>
        <source>Upload</source>
        <translation>Загрузка</translation>
    </message>
</context>
<context>
    <name>UserFile</name>
    <message>
        <source>%1 is a folder, not a file.</source>
        <translation>%1 — папка, а не файл.</translation>
    </message>
    <message>
        <source>The file %1 is too large: %2 MB, at most %3 MB can be opened.</source>
        <translation>Файл %1 слишком велик: %2 МБ, открыть можно не больше %3 МБ.</translation>
    </message>
    <message>
        <source>The file %1 cannot be read: %2</source>
        <translation>Не удаётся прочитать файл %1: %2</translation>
    </message>
    <message>
        <source>The file %1 does not exist.</source>
        <translation>Файл %1 не существует.</translation>
    </message>
    <message>
        <source>You may not read the file %1: permission denied.</source>
        <translation>Нет прав на чтение файла %1: доступ запрещён.</translation>
    </message>
    <message>
        <source>%1 is a loop of symbolic links, not a file.</source>
        <translation>%1 — петля символических ссылок, а не файл.</translation>
    </message>
    <message>
        <source>The file %1 cannot be read: %2.</source>
        <translation>Не удаётся прочитать файл %1: %2.</translation>
    </message>
    <message>
        <source>%1 is not a file: a pipe, a socket or a device cannot be read.</source>
        <translation>%1 — не файл: канал, сокет или устройство прочитать нельзя.</translation>
    </message>
</context>
<context>
    <name>ZipPacker</name>
    <message>
        <source>The file %1 cannot be read and was not packed</source>
        <translation>Файл %1 не удалось прочитать, он не упакован</translation>
    </message>
    <message>
        <source>The archive cannot be written</source>
        <translation>Не удаётся записать архив</translation>
    </message>
    <message>
        <source>Packing was cancelled</source>
        <translation>Упаковка отменена</translation>
    </message>
    <message>
        <source>There are no files to pack</source>
        <translation>Нет файлов для упаковки</translation>
    </message>
    <message>
        <source>It was not packed.</source>
        <translation>Он не упакован.</translation>
    </message>
</context>
<context>
    <name>useful</name>
    <message>
        <source>GB</source>
        <translation>ГБ</translation>
    </message>
    <message>
        <source>MB</source>
        <translation>МБ</translation>
    </message>
    <message>
        <source>KB</source>
        <translation>КБ</translation>
    </message>
</context>
</TS>
