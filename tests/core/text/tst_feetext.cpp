// The fee rule of the save: the longest leading decimal number of the fee text.
#include "core/db/DbError.h"
#include "core/text/FeeText.h"

#include <QTest>

class TestFeeText : public QObject {
    Q_OBJECT
private slots:
    void leadingNumber_data();
    void leadingNumber();
    void tooLargeForADoubleOverflows();
};

void TestFeeText::leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("amount");
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("thousands comma ends the number") << "1,250.00" << 1.0;
    QTest::newRow("decimal") << "1250.50" << 1250.5;
    QTest::newRow("blanks inside are removed") << " 12 5.5" << 125.5;
    QTest::newRow("tabs and line feeds too") << "\t1\n2.5" << 12.5;
    QTest::newRow("a carriage return ends it") << "12\r5" << 12.0;
    QTest::newRow("exponent then junk") << "-3e2x" << -300.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("trailing point") << "7." << 7.0;
    QTest::newRow("plus sign") << "+4.25" << 4.25;
    QTest::newRow("minus point") << "-.5" << -0.5;
    QTest::newRow("second point ends it") << "1.2.3" << 1.2;
    QTest::newRow("exponent without digits") << "12e" << 12.0;
    QTest::newRow("exponent sign without digits") << "12e+" << 12.0;
    QTest::newRow("capital exponent, signed") << "5E-1" << 0.5;
    QTest::newRow("exponent with blanks") << "2 e 3" << 2000.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("words") << "free" << 0.0;
    QTest::newRow("currency sign first") << "P250.00" << 0.0;
    QTest::newRow("two signs") << "--5" << 0.0;
    QTest::newRow("non-ASCII digit ends it") << QString::fromUtf8("3\u0663") << 3.0;
    QTest::newRow("too small for a double") << "1e-400" << 0.0;
    QTest::newRow("long fraction") << "0.1000000000000000000000000001" << 0.1;
}

void TestFeeText::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, amount);
    QCOMPARE(fee::fromText(text), amount);
}

void TestFeeText::tooLargeForADoubleOverflows() {
    const QString tooLarge[] = {QStringLiteral("9e999"), QStringLiteral("-2e400"),
                                QStringLiteral("1") + QString(400, u'0'),
                                QStringLiteral("0.001e312")};
    for (const QString& text : tooLarge) {
        try {
            fee::fromText(text);
            QFAIL(qPrintable(QStringLiteral("read an amount beyond a double: ") + text));
        } catch (const DbError& e) {
            QCOMPARE(e.description(), QStringLiteral("Overflow"));
        }
    }
    QCOMPARE(fee::fromText(QStringLiteral("0.") + QString(400, u'0') + u'1'), 0.0);
    QCOMPARE(fee::fromText(QStringLiteral("1e308")), 1e308);
}

QTEST_APPLESS_MAIN(TestFeeText)
#include "tst_feetext.moc"
