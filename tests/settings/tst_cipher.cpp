#include "cipher.h"

#include <QtTest>

namespace {

// A key of n characters hands the cipher the first n bytes of its UTF-16LE form, so the key
// bytes b0 b1 .. b7 of a published test vector come from the characters b1b0, b3b2, b5b4,
// b7b6 followed by four more characters that only set the length.
QString keyFromBytes(const QByteArray &bytes)
{
    QString key;
    for (int i = 0; i + 1 < bytes.size(); i += 2)
        key += QChar(ushort(uchar(bytes[i]) | uchar(bytes[i + 1]) << 8));
    return key + QStringLiteral("----");
}

QString textFromBytes(const QByteArray &bytes)
{
    QString text;
    for (char byte : bytes)
        text += QChar(ushort(uchar(byte)));
    return text;
}

} // namespace

class TestCipher : public QObject
{
    Q_OBJECT

private slots:
    void knownAnswers_data();
    void knownAnswers();
    void shortValuesStayPlain_data();
    void shortValuesStayPlain();
    void trailingPartialBlockStaysPlain();
    void roundTrip_data();
    void roundTrip();
    void onlyTheKeyPrefixCounts();
    void emptyKeyIsRefused();
    void wrongKeyAndGarbage();
};

// Blowfish test vectors (key, plain text, cipher text), all in hex.
void TestCipher::knownAnswers_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("cipher");
    QTest::newRow("zeros") << QByteArray("0000000000000000") << QByteArray("0000000000000000")
                           << QByteArray("4ef997456198dd78");
    QTest::newRow("30..") << QByteArray("3000000000000000") << QByteArray("1000000000000001")
                          << QByteArray("7d856f9a613063f2");
    QTest::newRow("11..") << QByteArray("1111111111111111") << QByteArray("1111111111111111")
                          << QByteArray("2466dd878b963c9d");
    QTest::newRow("0123..") << QByteArray("0123456789abcdef") << QByteArray("1111111111111111")
                            << QByteArray("61f9c3802281b096");
}

void TestCipher::knownAnswers()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, cipher);
    const QString keyText = keyFromBytes(QByteArray::fromHex(key));
    const QString plainText = textFromBytes(QByteArray::fromHex(plain));

    bool ok = false;
    const QString sealed = encrypt(plainText, keyText, &ok);
    QVERIFY(ok);
    QCOMPARE(QByteArray::fromBase64(sealed.toLatin1()).toHex(), cipher);

    // Deciphering stops at the first zero byte.
    const QString opened = decrypt(sealed, keyText, &ok);
    QVERIFY(ok);
    QCOMPARE(opened, plainText.left(plainText.indexOf(QChar(0))));
}

void TestCipher::shortValuesStayPlain_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("empty") << QString();
    QTest::newRow("one byte") << QStringLiteral("x");
    QTest::newRow("seven bytes") << QStringLiteral("secret!");
    QTest::newRow("seven utf-8 bytes") << QStringLiteral("пар") + QStringLiteral("a");
}

void TestCipher::shortValuesStayPlain()
{
    QFETCH(QString, value);
    const QString key = QStringLiteral("0123456789abcdef0123456789abcdef");
    const QString sealed = encrypt(value, key);
    QCOMPARE(sealed, QString::fromLatin1(value.toUtf8().toBase64()));
    QCOMPARE(decrypt(sealed, key), value);
}

void TestCipher::trailingPartialBlockStaysPlain()
{
    const QString key = QStringLiteral("token-of-the-account");
    const QByteArray value("abcdefgh123");
    const QByteArray sealed
        = QByteArray::fromBase64(encrypt(QString::fromLatin1(value), key).toLatin1());
    QCOMPARE(sealed.size(), 11);
    QVERIFY(sealed.left(8) != value.left(8));
    QCOMPARE(sealed.mid(8), QByteArray("123"));
}

void TestCipher::roundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("key");
    QTest::newRow("one block") << QStringLiteral("12345678") << QStringLiteral("k");
    QTest::newRow("password") << QStringLiteral("correct horse battery staple")
                              << QStringLiteral("a3f9c1d2e4b5a6978877665544332211ffee");
    QTest::newRow("cyrillic") << QStringLiteral("пароль пользователя") << QStringLiteral("ключ");
    QTest::newRow("long") << QString(1000, QLatin1Char('z')) << QStringLiteral("t");
}

void TestCipher::roundTrip()
{
    QFETCH(QString, value);
    QFETCH(QString, key);
    const QString sealed = encrypt(value, key);
    QVERIFY(sealed != QString::fromLatin1(value.toUtf8().toBase64()));
    QCOMPARE(decrypt(sealed, key), value);
}

void TestCipher::onlyTheKeyPrefixCounts()
{
    const QString value = QStringLiteral("ftp password 42");
    // An ASCII key gives two bytes a character and is cut at as many bytes as it has
    // characters (at most 32): only its first 16 characters reach the cipher.
    const QString first = QStringLiteral("0123456789abcdefXXXXXXXXXXXXXXXXXXXXXX");
    const QString second = QStringLiteral("0123456789abcdefYYYYYYYYYYYYYYYYYYYYYY");
    QCOMPARE(encrypt(value, first), encrypt(value, second));
    QVERIFY(encrypt(value, first) != encrypt(value, QStringLiteral("0123456789abcdeZ")));
}

void TestCipher::emptyKeyIsRefused()
{
    bool ok = true;
    QCOMPARE(encrypt(QStringLiteral("user password"), QString(), &ok), QString());
    QVERIFY(!ok);
    ok = true;
    QCOMPARE(decrypt(QStringLiteral("c2VjcmV0IHZhbHVl"), QString(), &ok), QString());
    QVERIFY(!ok);
}

void TestCipher::wrongKeyAndGarbage()
{
    const QString sealed = encrypt(QStringLiteral("a value of sixteen"), QStringLiteral("right"));
    QVERIFY(decrypt(sealed, QStringLiteral("wrong")) != QStringLiteral("a value of sixteen"));

    bool ok = false;
    decrypt(QStringLiteral("%%% not base64 at all %%%"), QStringLiteral("key"), &ok);
    QVERIFY(ok);
}

QTEST_GUILESS_MAIN(TestCipher)
#include "tst_cipher.moc"
