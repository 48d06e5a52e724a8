// What a Windows user expects of the program, on Windows (and under Wine): a windowed executable
// with its icon and version information, the embedded database in the computer's own application
// data folder, the window placement in the registry, and a SQL Server driver from the driver
// manager. Built only for Windows.
#include "core/db/EmbeddedDatabase.h"
#include "core/db/SqlServer.h"
#include "ui/widgets/WindowSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>
#include <QWidget>
#include <QtEndian>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

class TestWindowsProgram : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void theProgramIsWindowedWithItsIconAndVersion();
    void theEmbeddedDatabaseIsInTheLocalApplicationData();
    void theWindowPlacementIsKeptInTheRegistry();
    void aSqlServerDriverIsFoundThroughTheDriverManager();

private:
    QString m_program;
};

void TestWindowsProgram::initTestCase() {
    QCoreApplication::setOrganizationName(QStringLiteral("BrevantTests"));
    QCoreApplication::setApplicationName(QStringLiteral("Brevant"));
    m_program =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("brevant.exe"));
    QVERIFY2(QFile::exists(m_program), qPrintable(m_program));
}

namespace {
// A string of the executable's version information (its US English block).
QString versionString(const QByteArray& info, const wchar_t* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(info.constData(), path.c_str(), &value, &length) || length == 0)
        return QString();
    return QString::fromWCharArray(static_cast<const wchar_t*>(value)).trimmed();
}
} // namespace

void TestWindowsProgram::theProgramIsWindowedWithItsIconAndVersion() {
    // The Windows GUI subsystem: no console window opens behind the program.
    QFile exe(m_program);
    QVERIFY(exe.open(QIODevice::ReadOnly));
    const QByteArray head = exe.read(4096);
    const quint32 pe = qFromLittleEndian<quint32>(head.constData() + 0x3C);
    QCOMPARE(head.mid(pe, 4), QByteArray("PE\0\0", 4));
    const quint16 subsystem = qFromLittleEndian<quint16>(head.constData() + pe + 4 + 20 + 68);
    QCOMPARE(subsystem, quint16(IMAGE_SUBSYSTEM_WINDOWS_GUI));

    const std::wstring path = QDir::toNativeSeparators(m_program).toStdWString();
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
    QVERIFY(size > 0);
    QByteArray info(int(size), '\0');
    QVERIFY(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));
    QCOMPARE(versionString(info, L"ProductName"), QStringLiteral("Brevant"));
    QCOMPARE(versionString(info, L"ProductVersion"), QStringLiteral(BREVANT_VERSION));
    QCOMPARE(versionString(info, L"FileVersion"), QStringLiteral(BREVANT_VERSION));
    QCOMPARE(versionString(info, L"FileDescription"),
             QStringLiteral("Brevant: PHIC-VALTOR Code Mapping"));
    QCOMPARE(versionString(info, L"OriginalFilename"), QStringLiteral("brevant.exe"));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    QVERIFY(VerQueryValueW(info.constData(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    const QStringList parts = QStringLiteral(BREVANT_VERSION).split(u'.');
    QCOMPARE(HIWORD(fixed->dwFileVersionMS), parts.value(0).toUInt());
    QCOMPARE(LOWORD(fixed->dwFileVersionMS), parts.value(1).toUInt());
    QCOMPARE(HIWORD(fixed->dwFileVersionLS), parts.value(2).toUInt());

    // The icon Explorer, the Start menu and Qt's windows show.
    const HMODULE module = LoadLibraryExW(
        path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    QVERIFY(module);
    const bool hasIcon = FindResourceW(module, L"IDI_ICON1", MAKEINTRESOURCEW(14)) != nullptr;
    FreeLibrary(module);
    QVERIFY(hasIcon);
    QCOMPARE(ExtractIconExW(path.c_str(), -1, nullptr, nullptr, 0), UINT(1));
}

void TestWindowsProgram::theEmbeddedDatabaseIsInTheLocalApplicationData() {
    // %LOCALAPPDATA% stays on this computer; the roaming %APPDATA% is copied at every logon.
    const QString local = QDir::fromNativeSeparators(qEnvironmentVariable("LOCALAPPDATA"));
    QVERIFY(!local.isEmpty());
    QCOMPARE(embedded::defaultDataFolder().toLower(),
             (local + QStringLiteral("/BrevantTests/Brevant")).toLower());
    const QString roaming = QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA"));
    QVERIFY(!embedded::defaultDataFolder().startsWith(roaming + u'/', Qt::CaseInsensitive));
}

void TestWindowsProgram::theWindowPlacementIsKeptInTheRegistry() {
    QSettings().clear();
    QCOMPARE(QSettings().format(), QSettings::NativeFormat);
    QWidget window;
    window.setObjectName(QStringLiteral("frmPlacement"));
    window.setGeometry(120, 90, 640, 480);
    WindowSettings().Savewinsettings(&window);

    const QSettings registry(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\BrevantTests\\Brevant\\windows\\frmPlacement"),
        QSettings::NativeFormat);
    QVERIFY(!registry.value(QStringLiteral("geometry")).toByteArray().isEmpty());
    QCOMPARE(registry.value(QStringLiteral("maximized")).toBool(), false);

    QWidget again;
    again.setObjectName(QStringLiteral("frmPlacement"));
    WindowSettings().loadwinsettings(&again);
    QCOMPARE(again.size(), QSize(640, 480));
    QSettings().clear();
}

void TestWindowsProgram::aSqlServerDriverIsFoundThroughTheDriverManager() {
    // Every Windows has the "SQL Server" driver; under Wine the Linux drivers serve through Wine's
    // ODBC bridge (FreeTDS here).
    const QStringList drivers = odbc::installedDrivers();
    QVERIFY2(!sqlserver::preferredDriver(drivers).isEmpty(), qPrintable(drivers.join(u'|')));
}

QTEST_MAIN(TestWindowsProgram)
#include "tst_windowsprogram.moc"
