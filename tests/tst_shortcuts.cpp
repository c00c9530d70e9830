// The nineteen keyboard shortcuts, pressed while the main window is active.

#include <QtTest>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTextEdit>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "framecases.h"
#include "loopbackplayer.h"
#include "testsupport.h"

Q_DECLARE_METATYPE(Qt::Key)
Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

namespace {
const QByteArray PlayFrame("\x80\x02\x01", 3);

QByteArray frame(int code, int value)
{
    return QByteArray(1, char(0x80)) + char(code) + char(value);
}
} // namespace

class ShortcutsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
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
    bool activate(QWidget *topLevel);
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers);
    bool nothingSentSince();

    MainWindow *window = nullptr;
    LoopbackPlayer *player = nullptr;
};

void ShortcutsTest::initTestCase()
{
    prepare_Test_Process();
}

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
    player = nullptr;
    delete window;
    window = nullptr;
    reset_Process_Objects();
}

bool ShortcutsTest::activate(QWidget *topLevel)
{
    topLevel->show();
    QApplication::setActiveWindow(topLevel);
    return QTest::qWaitForWindowActive(topLevel, 5000);
}

// Delivered where the keyboard focus is, through the application's shortcut map.
void ShortcutsTest::press(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget()
                                                  : QApplication::activeWindow();
    QVERIFY(target);
    // With the text given, QtTest needs no character for the key: it has none
    // for Key_MediaPause and stops on an assertion.
    QTest::sendKeyEvent(QTest::Click, target, key, QString(), modifiers);
}

// Frames keep their order on the link: had anything been sent before, it
// would arrive ahead of this Play frame.
bool ShortcutsTest::nothingSentSince()
{
    widget<QPushButton>("pushButton_Play")->click();
    return player->waitForBytes(3) && player->takeReceived() == PlayFrame;
}

void ShortcutsTest::bindings_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QByteArray>("sent");

    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const struct
    {
        const char *name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QByteArray sent;
    } bindings[] = {
        {"Ctrl+0", Qt::Key_0, ctrl, frame(0x01, 0)},
        {"Ctrl+1", Qt::Key_1, ctrl, frame(0x01, 1)},
        {"Ctrl+2", Qt::Key_2, ctrl, frame(0x01, 2)},
        {"Ctrl+3", Qt::Key_3, ctrl, frame(0x01, 3)},
        {"Ctrl+4", Qt::Key_4, ctrl, frame(0x01, 4)},
        {"Ctrl+5", Qt::Key_5, ctrl, frame(0x01, 5)},
        {"Ctrl+6", Qt::Key_6, ctrl, frame(0x01, 6)},
        {"Ctrl+7", Qt::Key_7, ctrl, frame(0x01, 7)},
        {"Ctrl+8", Qt::Key_8, ctrl, frame(0x01, 8)},
        {"Ctrl+9", Qt::Key_9, ctrl, frame(0x01, 9)},
        {"Ctrl+Plus", Qt::Key_Plus, ctrl, frame(0x03, 11)},
        {"Ctrl+Minus", Qt::Key_Minus, ctrl, frame(0x03, 9)},
        {"Media Play", Qt::Key_MediaPlay, none, frame(0x02, 1)},
        {"Media Stop", Qt::Key_MediaStop, none, frame(0x02, 2)},
        {"Media Next", Qt::Key_MediaNext, none, frame(0x02, 3)},
        {"Media Previous", Qt::Key_MediaPrevious, none, frame(0x02, 4)},
        {"Media Pause", Qt::Key_MediaPause, none, frame(0x02, 5)},
        {"Ctrl+Media Next", Qt::Key_MediaNext, ctrl, frame(0x02, 6)},
        {"Ctrl+Media Previous", Qt::Key_MediaPrevious, ctrl, frame(0x02, 7)},
    };
    QTest::addColumn<QString>("focus");
    // Focus where typing could claim the keys: text, list, slider, button.
    const char *const focusWidgets[] = {"textEdit_Data", "comboBox_Folder",
                                        "horizontalSlider_Volume", "pushButton_Stop"};
    for (const auto &binding : bindings) {
        for (const char *focus : focusWidgets) {
            QTest::newRow(qPrintable(QStringLiteral("%1, focus on %2").arg(binding.name, focus)))
                << binding.key << binding.modifiers << binding.sent << QString(focus);
        }
    }
}

void ShortcutsTest::bindings()
{
    QFETCH(Qt::Key, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QByteArray, sent);
    QFETCH(QString, focus);

    QVERIFY(connect_To_Player(window, *player));
    QVERIFY(activate(window));
    // Volume 10, so both volume steps have room; folder shortcuts ignore the selector.
    widget<QSlider>("horizontalSlider_Volume")->setValue(10);
    QVERIFY(player->waitForBytes(3));
    player->takeReceived();
    widget<QComboBox>("comboBox_Folder")->setCurrentIndex(300);
    widget<QWidget>("pushButton_Folder")->setEnabled(false);

    widget<QWidget>(focus)->setFocus();
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), widget<QWidget>(focus), 5000);
    press(key, modifiers);
    QVERIFY(player->waitForBytes(3));
    QCOMPARE(player->takeReceived(), sent);
    QCOMPARE(sent_Labels(window), labels_For(sent, false));
}

void ShortcutsTest::volumeStepsStopAtTheEnds_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<int>("after");

    // The TCP model's volume runs from 0 to 31.
    QTest::newRow("Ctrl+Plus at the maximum") << 31 << Qt::Key_Plus << 31;
    QTest::newRow("Ctrl+Minus at the minimum") << 0 << Qt::Key_Minus << 0;
    QTest::newRow("Ctrl+Plus one below the maximum") << 30 << Qt::Key_Plus << 31;
    QTest::newRow("Ctrl+Minus one above the minimum") << 1 << Qt::Key_Minus << 0;
}

void ShortcutsTest::volumeStepsStopAtTheEnds()
{
    QFETCH(int, start);
    QFETCH(Qt::Key, key);
    QFETCH(int, after);

    QVERIFY(connect_To_Player(window, *player));
    QVERIFY(activate(window));
    auto *slider = widget<QSlider>("horizontalSlider_Volume");
    if (slider->value() != start) {
        slider->setValue(start);
        QVERIFY(player->waitForBytes(3));
        player->takeReceived();
    }
    press(key, Qt::ControlModifier);
    QCOMPARE(slider->value(), after);
    if (after == start) {
        QVERIFY(nothingSentSince());
    } else {
        QVERIFY(player->waitForBytes(3));
        QCOMPARE(player->takeReceived(), frame(0x03, after));
        QCOMPARE(widget<QLabel>("label_Volume_2")->text(), QString::number(after));
    }
}

void ShortcutsTest::inactiveWindowIgnoresShortcuts()
{
    QVERIFY(connect_To_Player(window, *player));
    QWidget other;
    other.resize(200, 100);
    QVERIFY(activate(&other));
    press(Qt::Key_5, Qt::ControlModifier);
    press(Qt::Key_MediaStop, Qt::NoModifier);
    QVERIFY(nothingSentSince());
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
