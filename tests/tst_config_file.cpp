// The configuration writer must report a device that refuses bytes, so a
// save can keep the previous file instead of passing for a success.

#include <QtTest>

#include "settings/config_file.h"
#include "testsupport.h"

namespace {

/// Accepts the first `limit` bytes, then refuses, like a disk that fills up.
class FillingDevice : public QIODevice
{
public:
    explicit FillingDevice(qint64 limit) : m_limit(limit) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 length) override
    {
        const qint64 taken = qMin(m_limit - m_written, length);
        m_written += taken;
        return taken > 0 ? taken : -1;
    }

private:
    qint64 m_limit;
    qint64 m_written = 0;
};

} // namespace

class ConfigFileTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepare_Test_Process(); }
    void refusedBytesAreReported_data();
    void refusedBytesAreReported();
    void fullDiskIsReported();
};

void ConfigFileTest::refusedBytesAreReported_data()
{
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<bool>("written");
    // The file of an untouched ConfigSettings is 385 bytes long.
    QTest::newRow("last byte refused") << qint64(384) << false;
    QTest::newRow("room for all") << qint64(385) << true;
}

void ConfigFileTest::refusedBytesAreReported()
{
    QFETCH(qint64, limit);
    FillingDevice device(limit);
    QTEST(writeConfigLines(&device, ConfigSettings()), "written");
}

void ConfigFileTest::fullDiskIsReported()
{
    // Buffered like the panel's file: the refusal comes only when the buffer is written.
    QFile full("/dev/full");
    QVERIFY(full.open(QIODevice::WriteOnly));
    QVERIFY(!writeConfigLines(&full, ConfigSettings()));
}

QTEST_GUILESS_MAIN(ConfigFileTest)
#include "tst_config_file.moc"
