// What the program asks the operating system: who runs it and how much memory it holds (the
// benchmark's memory figures), on Linux and on Windows alike.
#include "core/platform/Platform.h"

#include <QTest>

#include <cstring>
#include <memory>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void theUserIsKnown();
    void residentMemoryFollowsWhatIsTouched();
};

void TestPlatform::theUserIsKnown() {
    QVERIFY(!platform::userName().isEmpty());
}

void TestPlatform::residentMemoryFollowsWhatIsTouched() {
    const platform::ResidentMemory before = platform::residentMemory();
    QVERIFY(before.now > 0);
    QVERIFY(before.peak >= before.now);
    // 64 MiB written page by page is resident while it is held.
    constexpr std::size_t size = 64 << 20;
    const auto block = std::make_unique<char[]>(size);
    std::memset(block.get(), 1, size);
    const platform::ResidentMemory during = platform::residentMemory();
    QVERIFY2(during.now - before.now >= 60 * 1024,
             qPrintable(QStringLiteral("%1 -> %2 KiB").arg(before.now).arg(during.now)));
    QVERIFY(during.peak >= during.now);
    QCOMPARE(block[size - 1], char(1));
}

QTEST_APPLESS_MAIN(TestPlatform)
#include "tst_platform.moc"
