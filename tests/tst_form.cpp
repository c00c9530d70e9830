// What the rest of the panel relies on in the main window form: the objects its
// slots are connected to by name, the two radio groups, the layout's growth
// and size limits, and the properties of the actions.

#include <QtTest>

#include <QAction>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>
#include <QMetaMethod>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextEdit>

#include "app/mainwindow.h"
#include "testsupport.h"

namespace {
QImage imageOf(const QIcon &icon)
{
    return icon.pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
}
} // namespace

class FormTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepare_Test_Process(); }
    void init();
    void cleanup();

    void slotsFindTheirSignals();
    void actionsAreReachable();
    void radioGroupsFollowParents();
    void extraSpaceGoesToReceivedData();
    void sizeLimits_data();
    void sizeLimits();
    void ipOctetRange();
    void volumeIconsSwapped();
    void buttonsWithoutTextHaveIcons();

private:
    template <typename T> T *widget(const QString &name) { return find_Widget<T>(window, name); }

    MainWindow *window = nullptr;
};

void FormTest::init()
{
    reset_Process_Objects();
    window = new MainWindow;
}

void FormTest::cleanup()
{
    delete window;
    window = nullptr;
    reset_Process_Objects();
}

void FormTest::slotsFindTheirSignals()
{
    // A renamed object or signal leaves its on_<object>_<signal> slot silently unconnected.
    const QMetaObject *meta = window->metaObject();
    int checked = 0;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QByteArray slot = meta->method(i).methodSignature();
        if (!slot.startsWith("on_"))
            continue;
        const int split = slot.lastIndexOf('_', slot.indexOf('('));
        const QString object = QString::fromLatin1(slot.mid(3, split - 3));
        const QByteArray signal = slot.mid(split + 1);
        const QList<QObject *> found = window->findChildren<QObject *>(object);
        QVERIFY2(found.size() == 1, qPrintable(object));
        QVERIFY2(found[0]->metaObject()->indexOfSignal(signal) >= 0, slot.constData());
        ++checked;
    }
    QVERIFY(checked > 0);
}

void FormTest::actionsAreReachable()
{
    QList<QAction *> inMenus;
    for (QMenu *menu : widget<QMenuBar>("menuBar")->findChildren<QMenu *>())
        inMenus += menu->actions();
    for (const char *name : {"action_Default", "action_English", "action_French", "action_Exit",
                             "action_Brenvale_Home_Page", "action_Contact_Technical_Support",
                             "action_About"})
        QVERIFY2(inMenus.contains(widget<QAction>(name)), name);
    QCOMPARE(widget<QAction>("action_Exit")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));

    // The language slots uncheck the others themselves; a group would fight the
    // file reader, which may leave any combination checked.
    for (const char *name : {"action_Default", "action_English", "action_French"})
        widget<QAction>(name)->setChecked(true);
    for (const char *name : {"action_Default", "action_English", "action_French"})
        QVERIFY2(widget<QAction>(name)->isChecked(), name);
}

void FormTest::radioGroupsFollowParents()
{
    // Each frame's buttons exclude one another and leave the other frame's alone.
    const QStringList sent = {"radioButton_Sent_Hex", "radioButton_Sent_Dec"};
    const QStringList data = {"radioButton_Data_ASCII", "radioButton_Data_Hex",
                              "radioButton_Data_Dec"};
    QString lastSent = sent[0], lastData = data[0];
    for (const QString &name : {sent[1], data[1], data[2], sent[0], data[0]}) {
        widget<QRadioButton>(name)->setChecked(true);
        (sent.contains(name) ? lastSent : lastData) = name;
        for (const QString &each : sent + data) {
            const bool on = each == lastSent || each == lastData;
            QVERIFY2(widget<QRadioButton>(each)->isChecked() == on, qPrintable(name + ", " + each));
        }
    }
}

void FormTest::extraSpaceGoesToReceivedData()
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    // Start well above every size hint, so growth is shared by stretch alone.
    const QSize large = window->size() + QSize(200, 300);
    window->resize(large);
    QTRY_COMPARE(window->size(), large);

    // Height each widget gains; the settings column takes it in its bottom
    // spacer, the command column gives all of it to the received data.
    const QList<QPair<QString, int>> gains = {
        {"frame_Settings", 150}, {"pushButton_Connect", 0}, {"frame_Commands", 150},
        {"frame_Playback_Command", 0}, {"frame_Volume", 0}, {"frame_Request", 0},
        {"frame_Sent", 0}, {"textEdit_Data", 150}};
    QList<QSize> before;
    for (const auto &gain : gains)
        before << widget<QWidget>(gain.first)->size();

    window->resize(large + QSize(120, 150));
    QTRY_COMPARE(window->size(), large + QSize(120, 150));

    for (int i = 0; i < gains.size(); ++i)
        QCOMPARE(widget<QWidget>(gains[i].first)->height(), before[i].height() + gains[i].second);
    QCOMPARE(widget<QWidget>("frame_Settings")->width(), before[0].width());
    QCOMPARE(widget<QWidget>("frame_Commands")->width(), before[2].width() + 120);
}

void FormTest::sizeLimits_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QSize>("minimum");
    QTest::addColumn<QSize>("maximum");

    const int max = QWIDGETSIZE_MAX;
    QTest::newRow("narrow selectors")
        << QStringList{"comboBox_ID", "comboBox_Change_ID", "comboBox_Folder"} << QSize(0, 0)
        << QSize(64, max);
    QTest::newRow("request selector takes the width")
        << QStringList{"comboBox_Request"} << QSize(0, 0) << QSize(max, max);
    QTest::newRow("icon buttons")
        << QStringList{"pushButton_Change_ID", "pushButton_Folder", "pushButton_Request",
                       "pushButton_Previous_Folder", "pushButton_Previous_File", "pushButton_Play",
                       "pushButton_Stop", "pushButton_Pause", "pushButton_Next_File",
                       "pushButton_Next_Folder"}
        << QSize(0, 0) << QSize(32, 22);
    QTest::newRow("volume buttons")
        << QStringList{"pushButton_Volume_Less", "pushButton_Volume_More"} << QSize(0, 0)
        << QSize(48, 22);
    QTest::newRow("volume value") << QStringList{"label_Volume_2"} << QSize(22, 0)
                                  << QSize(max, max);
    QTest::newRow("sent bytes")
        << QStringList{"label_Byte_1_B", "label_Byte_2_B", "label_Byte_3_B"} << QSize(32, 22)
        << QSize(max, max);
}

void FormTest::sizeLimits()
{
    QFETCH(QStringList, names);
    for (const QString &name : names) {
        QTEST(widget<QWidget>(name)->minimumSize(), "minimum");
        QTEST(widget<QWidget>(name)->maximumSize(), "maximum");
    }
}

void FormTest::ipOctetRange()
{
    for (int i = 1; i <= 4; ++i) {
        auto *box = widget<QSpinBox>(QStringLiteral("spinBox_IP_%1").arg(i));
        QCOMPARE(box->minimum(), 0);
        QCOMPARE(box->maximum(), 255);
    }
    QVERIFY(widget<QTextEdit>("textEdit_Data")->isReadOnly());
}

void FormTest::volumeIconsSwapped()
{
    // On purpose: Less shows the crossed speaker, More the one with waves.
    QCOMPARE(imageOf(widget<QPushButton>("pushButton_Volume_Less")->icon()),
             imageOf(QIcon(":/Images/Volume_Max.png")));
    QCOMPARE(imageOf(widget<QPushButton>("pushButton_Volume_More")->icon()),
             imageOf(QIcon(":/Images/Volume_Min.png")));
}

void FormTest::buttonsWithoutTextHaveIcons()
{
    // A resource missing from the images file leaves such a button blank.
    int count = 0;
    for (auto *button : widget<QFrame>("frame_Commands")->findChildren<QPushButton *>()) {
        if (button->text().isEmpty()) {
            QVERIFY2(!button->icon().isNull(), qPrintable(button->objectName()));
            ++count;
        }
    }
    QVERIFY(count > 0);
    QVERIFY(!window->windowIcon().isNull());
}

QTEST_MAIN(FormTest)
#include "tst_form.moc"
