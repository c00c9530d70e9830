// The window as each player model configures it, and what the link state enables.

#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTcpServer>
#include <QTcpSocket>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "testsupport.h"

namespace {

// The widgets whose visibility follows the model, in the order the panel hides them.
const QStringList ModelDependent = {
    "frame_Port", "frame_Baudrate", "frame_IP", "frame_ID", "frame_Change_ID",
    "line_after_Change_ID", "line_after_ID", "frame_Folder", "line_ID_and_Folder",
    "frame_Playback_Command", "pushButton_Previous_Folder", "pushButton_Previous_File",
    "pushButton_Play", "pushButton_Stop", "pushButton_Pause", "pushButton_Next_Folder",
    "pushButton_Next_File", "line_Playback_Command", "frame_Volume", "pushButton_Volume_Less",
    "pushButton_Volume_More", "line_Volume", "frame_Request", "line_Request"};

const QStringList SerialA = {
    "frame_Port", "frame_Baudrate", "frame_ID", "line_after_ID", "frame_Folder",
    "line_ID_and_Folder", "frame_Playback_Command", "pushButton_Previous_File",
    "pushButton_Play", "pushButton_Stop", "pushButton_Next_File", "line_Playback_Command",
    "frame_Volume", "pushButton_Volume_Less", "pushButton_Volume_More", "line_Volume"};

const QStringList TransportB = {
    "frame_Folder", "frame_Playback_Command", "pushButton_Previous_Folder",
    "pushButton_Previous_File", "pushButton_Play", "pushButton_Stop", "pushButton_Pause",
    "pushButton_Next_Folder", "pushButton_Next_File", "line_Playback_Command", "frame_Volume",
    "pushButton_Volume_Less", "pushButton_Volume_More", "line_Volume", "frame_Request",
    "line_Request"};

QStringList items(const QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

} // namespace

class PanelTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startUpState();
    void modelConfiguresPanel_data();
    void modelConfiguresPanel();
    void reselectingRebuildsLists();
    void indexOutsideCatalogueChangesNothing();
    void enableTableWithoutLink();
    void enableTableWithOpenLink();

private:
    template <typename T> T *widget(const QString &name) const
    {
        T *w = window->findChild<T *>(name);
        if (!w)
            qFatal("no widget %s", qPrintable(name));
        return w;
    }
    void choose(int index) { emit widget<QComboBox>("comboBox_Player")->activated(index); }

    MainWindow *window = nullptr;
};

void PanelTest::initTestCase()
{
    prepare_Test_Process();
}

void PanelTest::init()
{
    reset_Process_Objects();
    window = new MainWindow;
}

void PanelTest::cleanup()
{
    delete window;
    window = nullptr;
    reset_Process_Objects();
}

void PanelTest::startUpState()
{
    QCOMPARE(window->windowTitle(), QStringLiteral("Quorvex 1.1.0"));
    auto *player = widget<QComboBox>("comboBox_Player");
    QCOMPARE(items(player), (QStringList{"Pebble Player 2", "Heron Player", "Larch Player",
                                         "KS10 - KS15", "KS15 - TCP/IP"}));
    QCOMPARE(player->currentIndex(), 0);
    QCOMPARE(ModelCatalogue.size(), 5);
    QVERIFY(widget<QRadioButton>("radioButton_Sent_Hex")->isChecked());
    QVERIFY(!widget<QRadioButton>("radioButton_Sent_Dec")->isChecked());
    QVERIFY(widget<QRadioButton>("radioButton_Data_ASCII")->isChecked());
    QVERIFY(widget<QAction>("action_Default")->isChecked());
    // The texts step runs after the labels are emptied, so they show "0".
    QCOMPARE(widget<QLabel>("label_Byte_1_B")->text(), QStringLiteral("0"));
}

void PanelTest::modelConfiguresPanel_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("visible");
    QTest::addColumn<QStringList>("speeds");
    QTest::addColumn<QString>("currentSpeed");
    QTest::addColumn<int>("folders");
    QTest::addColumn<QString>("lastFolder");
    QTest::addColumn<int>("volumeMax");
    QTest::addColumn<QStringList>("requests");

    const QStringList all3 = {"9600", "19200", "38400"};
    const QStringList requests = {"Player Status", "Current file", "Full path name",
                                  "Used storage media", "Current folder number",
                                  "Remaining time", "Total time of the file", "Volume"};
    QTest::newRow("Pebble Player 2") << 0 << SerialA << all3 << "19200" << 1000 << "999" << 64
                                     << QStringList();
    QTest::newRow("Heron Player") << 1 << SerialA << all3 << "19200" << 1000 << "999" << 64
                                  << QStringList();
    QTest::newRow("Larch Player") << 2 << SerialA << all3 << "9600" << 128 << "127" << 64
                                  << QStringList();
    QTest::newRow("KS10 - KS15")
        << 3
        << (TransportB + QStringList{"frame_Port", "frame_Baudrate", "frame_ID", "line_after_ID",
                                     "line_ID_and_Folder", "frame_Change_ID",
                                     "line_after_Change_ID"})
        << QStringList{"19200"} << "19200" << 256 << "255" << 31 << requests;
    QTest::newRow("KS15 - TCP/IP") << 4 << (TransportB + QStringList{"frame_IP"})
                                   << QStringList() << "" << 1000 << "999" << 31 << requests;
}

void PanelTest::modelConfiguresPanel()
{
    QFETCH(int, index);
    QFETCH(QStringList, visible);
    // Start from another model, so every list must really be rebuilt.
    choose(index == 3 ? 4 : 3);
    choose(index);

    for (const QString &name : ModelDependent)
        QVERIFY2(widget<QWidget>(name)->isHidden() == !visible.contains(name), qPrintable(name));

    QTEST(items(widget<QComboBox>("comboBox_Baudrate")), "speeds");
    QTEST(widget<QComboBox>("comboBox_Baudrate")->currentText(), "currentSpeed");

    auto *ids = widget<QComboBox>("comboBox_ID");
    QCOMPARE(ids->count(), 128);
    QCOMPARE(ids->itemText(0), QStringLiteral("0"));
    QCOMPARE(ids->itemText(1), QStringLiteral("1"));
    QCOMPARE(ids->itemText(127), QStringLiteral("127"));
    QCOMPARE(ids->currentIndex(), 0);
    auto *newIds = widget<QComboBox>("comboBox_Change_ID");
    QCOMPARE(newIds->count(), 127);
    QCOMPARE(newIds->itemText(0), QStringLiteral("1"));

    auto *folders = widget<QComboBox>("comboBox_Folder");
    QTEST(folders->count(), "folders");
    QCOMPARE(folders->itemText(0), QStringLiteral("000"));
    QTEST(folders->itemText(folders->count() - 1), "lastFolder");
    QCOMPARE(folders->currentIndex(), 0);

    auto *slider = widget<QSlider>("horizontalSlider_Volume");
    QCOMPARE(slider->minimum(), 0);
    QTEST(slider->maximum(), "volumeMax");
    QTEST(slider->value(), "volumeMax");

    QTEST(items(widget<QComboBox>("comboBox_Request")), "requests");
    if (index == 4)
        QCOMPARE(widget<QLabel>("label_IP_Port")->text(),
                 QStringLiteral("( Port Number: 65079 )"));
}

void PanelTest::reselectingRebuildsLists()
{
    choose(3);
    widget<QComboBox>("comboBox_ID")->setCurrentIndex(9);
    widget<QComboBox>("comboBox_Folder")->setCurrentIndex(200);
    widget<QComboBox>("comboBox_Request")->setCurrentIndex(5);
    widget<QSlider>("horizontalSlider_Volume")->setValue(3);

    choose(3);
    QCOMPARE(widget<QComboBox>("comboBox_ID")->currentText(), QStringLiteral("0"));
    QCOMPARE(widget<QComboBox>("comboBox_ID")->count(), 128);
    QCOMPARE(widget<QComboBox>("comboBox_Folder")->currentText(), QStringLiteral("000"));
    QCOMPARE(widget<QComboBox>("comboBox_Folder")->count(), 256);
    QCOMPARE(widget<QComboBox>("comboBox_Request")->currentText(),
             QStringLiteral("Player Status"));
    QCOMPARE(widget<QSlider>("horizontalSlider_Volume")->value(), 31);
    QCOMPARE(widget<QComboBox>("comboBox_Baudrate")->currentText(), QStringLiteral("19200"));
}

void PanelTest::indexOutsideCatalogueChangesNothing()
{
    choose(3);
    widget<QComboBox>("comboBox_Folder")->setCurrentIndex(17);
    for (int bad : {-1, 5, 1000}) {
        choose(bad);
        QCOMPARE(widget<QComboBox>("comboBox_Folder")->count(), 256);
        QCOMPARE(widget<QComboBox>("comboBox_Folder")->currentIndex(), 17);
        QVERIFY(!widget<QWidget>("frame_Change_ID")->isHidden());
        QVERIFY(!widget<QWidget>("frame_Request")->isHidden());
    }
}

void PanelTest::enableTableWithoutLink()
{
    QVERIFY(widget<QWidget>("frame_Player")->isEnabled());
    // No serial port on a test machine is guaranteed; the rule follows the list.
    QCOMPARE(widget<QWidget>("frame_Port")->isEnabled(),
             widget<QComboBox>("comboBox_Port")->count() > 0);
    QVERIFY(widget<QWidget>("frame_Baudrate")->isEnabled());
    QVERIFY(widget<QWidget>("frame_Settings")->isEnabled());
    QVERIFY(widget<QWidget>("pushButton_Connect")->isEnabled());
    QVERIFY(!widget<QWidget>("pushButton_Disconnect")->isEnabled());
    QVERIFY(!widget<QWidget>("frame_Commands")->isEnabled());
}

void PanelTest::enableTableWithOpenLink()
{
    delete window;
    window = nullptr;
    reset_Process_Objects();

    // A real connection, open before the window reads the link state.
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    tcpSocket->connectToHost(QHostAddress::LocalHost, server.serverPort());
    QVERIFY(tcpSocket->waitForConnected(5000));
    QVERIFY(server.waitForNewConnection(5000));

    window = new MainWindow;
    QVERIFY(!widget<QWidget>("frame_Player")->isEnabled());
    QVERIFY(!widget<QWidget>("frame_Port")->isEnabled());
    QVERIFY(!widget<QWidget>("frame_Baudrate")->isEnabled());
    QVERIFY(!widget<QWidget>("frame_Settings")->isEnabled());
    QVERIFY(!widget<QWidget>("pushButton_Connect")->isEnabled());
    QVERIFY(widget<QWidget>("pushButton_Disconnect")->isEnabled());
    QVERIFY(widget<QWidget>("frame_Commands")->isEnabled());
    QVERIFY(widget<QWidget>("comboBox_Folder")->isEnabled());
}

QTEST_MAIN(PanelTest)
#include "tst_panel.moc"
