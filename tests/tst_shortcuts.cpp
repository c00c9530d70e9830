// The nineteen keyboard shortcuts, pressed while the main window is active.

#include <QtTest>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "app/mainwindow.h"
#include "framecases.h"
#include "loopbackplayer.h"
#include "testsupport.h"

namespace {
// An X server refuses the focus to a window that is not mapped yet.
bool activate(QWidget *topLevel)
{
    topLevel->show();
    if (!QTest::qWaitForWindowExposed(topLevel, 5000))
        return false;
    topLevel->activateWindow();
    return QTest::qWaitForWindowActive(topLevel, 5000);
}

// Delivered where the keyboard focus is, through the application's shortcut
// map. With the text given, QtTest needs no character for the key: it has
// none for Key_MediaPause and stops on an assertion.
void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget()
                                                  : QApplication::activeWindow();
    QVERIFY(target);
    QTest::sendKeyEvent(QTest::Click, target, Qt::Key(key), QString(), modifiers);
}
} // namespace

class ShortcutsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepare_Test_Process(); }
    void init();
    void cleanup();

    void bindings_data();
    void bindings();
    void volumeStepsStopAtTheEnds_data();
    void volumeStepsStopAtTheEnds();
    void inactiveWindowIgnoresShortcuts();
    void withoutLinkStepsOnlyMoveSlider();

private:
    template <typename T> T *widget(const QString &name) { return find_Widget<T>(window, name); }
    void setVolume(int volume);
    bool nothingSent();

    MainWindow *window = nullptr;
    LoopbackPlayer *player = nullptr;
};

void ShortcutsTest::init()
{
    reset_Process_Objects();
    window = new MainWindow;
    player = new LoopbackPlayer;
    QVERIFY(activate(window));
}

void ShortcutsTest::cleanup()
{
    delete player;
    delete window;
    reset_Process_Objects();
}

void ShortcutsTest::setVolume(int volume)
{
    auto *slider = widget<QSlider>("horizontalSlider_Volume");
    if (slider->value() == volume)
        return;
    slider->setValue(volume);
    QVERIFY(player->waitForBytes(3));
    player->takeReceived();
}

// Frames keep their order on the link: had anything been sent before, it
// would arrive ahead of this Play frame.
bool ShortcutsTest::nothingSent()
{
    widget<QPushButton>("pushButton_Play")->click();
    return player->waitForBytes(3) && player->takeReceived() == QByteArray::fromHex("800201");
}

void ShortcutsTest::bindings_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QString>("focus");
    const struct
    {
        const char *name;
        int key;
        bool ctrl;
        const char *sent;
    } bindings[] = {
        {"Ctrl+0", Qt::Key_0, true, "800100"},         {"Ctrl+1", Qt::Key_1, true, "800101"},
        {"Ctrl+2", Qt::Key_2, true, "800102"},         {"Ctrl+3", Qt::Key_3, true, "800103"},
        {"Ctrl+4", Qt::Key_4, true, "800104"},         {"Ctrl+5", Qt::Key_5, true, "800105"},
        {"Ctrl+6", Qt::Key_6, true, "800106"},         {"Ctrl+7", Qt::Key_7, true, "800107"},
        {"Ctrl+8", Qt::Key_8, true, "800108"},         {"Ctrl+9", Qt::Key_9, true, "800109"},
        {"Ctrl+Plus", Qt::Key_Plus, true, "80030B"},   {"Ctrl+Minus", Qt::Key_Minus, true, "800309"},
        {"Play", Qt::Key_MediaPlay, false, "800201"},  {"Stop", Qt::Key_MediaStop, false, "800202"},
        {"Next", Qt::Key_MediaNext, false, "800203"},  {"Previous", Qt::Key_MediaPrevious, false, "800204"},
        {"Pause", Qt::Key_MediaPause, false, "800205"}, {"Ctrl+Next", Qt::Key_MediaNext, true, "800206"},
        {"Ctrl+Previous", Qt::Key_MediaPrevious, true, "800207"},
    };
    // Focus where typing could claim the keys: text, list, slider, button.
    for (const auto &b : bindings)
        for (const char *focus :
             {"textEdit_Data", "comboBox_Folder", "horizontalSlider_Volume", "pushButton_Stop"})
            QTest::addRow("%s, focus on %s", b.name, focus)
                << b.key << b.ctrl << QByteArray::fromHex(b.sent) << QString(focus);
}

void ShortcutsTest::bindings()
{
    QFETCH(int, key);
    QFETCH(bool, ctrl);
    QFETCH(QByteArray, sent);
    QFETCH(QString, focus);
    QVERIFY(connect_To_Player(window, *player));
    QVERIFY(activate(window));
    setVolume(10); // room for both volume steps
    // Folder shortcuts ignore the selector and the Folder button's state.
    widget<QComboBox>("comboBox_Folder")->setCurrentIndex(300);
    widget<QWidget>("pushButton_Folder")->setEnabled(false);

    widget<QWidget>(focus)->setFocus();
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), widget<QWidget>(focus), 5000);
    press(key, ctrl ? Qt::ControlModifier : Qt::NoModifier);
    QVERIFY(player->waitForBytes(3));
    QCOMPARE(player->takeReceived(), sent);
    QCOMPARE(sent_Labels(window), labels_For(sent, false));
}

void ShortcutsTest::volumeStepsStopAtTheEnds_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("after");
    // The TCP model's volume runs from 0 to 31.
    QTest::newRow("Ctrl+Plus at the maximum") << 31 << int(Qt::Key_Plus) << 31;
    QTest::newRow("Ctrl+Minus at the minimum") << 0 << int(Qt::Key_Minus) << 0;
    QTest::newRow("Ctrl+Plus below the maximum") << 30 << int(Qt::Key_Plus) << 31;
    QTest::newRow("Ctrl+Minus above the minimum") << 1 << int(Qt::Key_Minus) << 0;
}

void ShortcutsTest::volumeStepsStopAtTheEnds()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, after);
    QVERIFY(connect_To_Player(window, *player));
    QVERIFY(activate(window));
    setVolume(start);
    press(key, Qt::ControlModifier);
    QCOMPARE(widget<QSlider>("horizontalSlider_Volume")->value(), after);
    if (after == start) {
        QVERIFY(nothingSent());
        return;
    }
    QVERIFY(player->waitForBytes(3));
    QCOMPARE(player->takeReceived(), QByteArray::fromHex("8003") + char(after));
    QCOMPARE(widget<QLabel>("label_Volume_2")->text(), QString::number(after));
}

void ShortcutsTest::inactiveWindowIgnoresShortcuts()
{
    QVERIFY(connect_To_Player(window, *player));
    QWidget other;
    other.resize(200, 100);
    QVERIFY(activate(&other));
    press(Qt::Key_5, Qt::ControlModifier);
    press(Qt::Key_MediaStop);
    QVERIFY(nothingSent());
}

void ShortcutsTest::withoutLinkStepsOnlyMoveSlider()
{
    choose_Model(window, TcpModelIndex);
    auto *slider = widget<QSlider>("horizontalSlider_Volume");
    slider->setValue(10);
    const QStringList labels = sent_Labels(window);
    press(Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(slider->value(), 11);
    press(Qt::Key_Minus, Qt::ControlModifier);
    press(Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(slider->value(), 9);
    QCOMPARE(widget<QLabel>("label_Volume_2")->text(), QStringLiteral("9"));
    press(Qt::Key_5, Qt::ControlModifier);
    QCOMPARE(sent_Labels(window), labels);
}

QTEST_MAIN(ShortcutsTest)
#include "tst_shortcuts.moc"
