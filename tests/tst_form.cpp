// What the rest of the panel relies on in the main window form: the objects its
// slots are connected to by name, the two radio groups, the layout's growth
// and size limits, and the properties of the actions.

#include <QtTest>

#include <QAction>
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
    void init() { reset_Process_Objects(); window = new MainWindow; }
    void cleanup() { delete window; window = nullptr; reset_Process_Objects(); }

    void slotsFindTheirSignals();
    void actionsAreReachable();
    void radioGroupsFollowParents();
    void extraSpaceGoesToReceivedData();
    void sizeLimits();
    void operatorInputLimits();
    void volumeIconsSwapped();

private:
    template <typename T> T *widget(const QString &name) { return find_Widget<T>(window, name); }

    MainWindow *window = nullptr;
};

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
    for (QAction *action : window->findChildren<QAction *>(QRegularExpression("^action_")))
        QVERIFY2(inMenus.contains(action), qPrintable(action->objectName()));
    QCOMPARE(widget<QAction>("action_Exit")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));

    // The code, not an exclusive group, keeps one language checked.
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

void FormTest::sizeLimits()
{
    const int max = QWIDGETSIZE_MAX;
    const struct
    {
        QStringList names;
        QSize minimum, maximum;
    } limits[] = {
        {{"comboBox_ID", "comboBox_Change_ID", "comboBox_Folder"}, {0, 0}, {64, max}},
        {{"pushButton_Change_ID", "pushButton_Folder", "pushButton_Request",
          "pushButton_Previous_Folder", "pushButton_Previous_File", "pushButton_Play",
          "pushButton_Stop", "pushButton_Pause", "pushButton_Next_File", "pushButton_Next_Folder"},
         {0, 0},
         {32, 22}},
        {{"pushButton_Volume_Less", "pushButton_Volume_More"}, {0, 0}, {48, 22}},
        // Labels showing changing values keep room for them.
        {{"label_Volume_2"}, {22, 0}, {max, max}},
        {{"label_Byte_1_B", "label_Byte_2_B", "label_Byte_3_B"}, {32, 22}, {max, max}},
    };
    for (const auto &limit : limits) {
        for (const QString &name : limit.names) {
            const QWidget *w = widget<QWidget>(name);
            QVERIFY2(w->minimumSize() == limit.minimum && w->maximumSize() == limit.maximum,
                     qPrintable(name));
        }
    }
}

void FormTest::operatorInputLimits()
{
    for (int i = 1; i <= 4; ++i) {
        auto *box = widget<QSpinBox>(QStringLiteral("spinBox_IP_%1").arg(i));
        QCOMPARE(QPair(box->minimum(), box->maximum()), QPair(0, 255));
    }
    QVERIFY(widget<QTextEdit>("textEdit_Data")->isReadOnly());
}

void FormTest::volumeIconsSwapped()
{
    // On purpose: Less shows the crossed speaker, More the one with waves.
    const QImage max = imageOf(QIcon(":/Images/Volume_Max.png"));
    const QImage min = imageOf(QIcon(":/Images/Volume_Min.png"));
    QVERIFY(max != min);
    QCOMPARE(imageOf(widget<QPushButton>("pushButton_Volume_Less")->icon()), max);
    QCOMPARE(imageOf(widget<QPushButton>("pushButton_Volume_More")->icon()), min);
}

QTEST_MAIN(FormTest)
#include "tst_form.moc"
