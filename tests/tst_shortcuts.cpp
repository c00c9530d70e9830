// The nineteen keyboard shortcuts and the volume buttons, with the main window
// active and linked to a loopback player.

#include <QApplication>

#include "panelcase.h"

namespace {
// Delivered where the keyboard focus is, through the application's shortcut
// map. With the text given, QtTest needs no character for the key: it has
// none for Key_MediaPause and stops on an assertion.
void press(int keys)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget()
                                                  : QApplication::activeWindow();
    QVERIFY(target);
    QTest::sendKeyEvent(QTest::Click, target, Qt::Key(keys & ~Qt::KeyboardModifierMask), QString(),
                        Qt::KeyboardModifiers(keys & Qt::KeyboardModifierMask));
}
} // namespace

class ShortcutsTest : public PanelCase
{
    Q_OBJECT

public:
    ShortcutsTest() : PanelCase(true) {}

private slots:
    void init()
    {
        PanelCase::init();
        QVERIFY(activate_Window(window));
    }
    void triggers_data();
    void triggers();
    void inactiveWindowIgnoresShortcuts();
};

void ShortcutsTest::triggers_data()
{
    QTest::addColumn<QString>("trigger"); // a key sequence, or the More or Less button
    QTest::addColumn<int>("volume");      // before; the TCP model's runs from 0 to 31
    QTest::addColumn<QByteArray>("sent"); // empty: nothing
    QTest::addColumn<QString>("focus");
    const struct
    {
        const char *trigger;
        int volume;
        const char *sent;
    } cases[] = {
        {"Ctrl+0", 10, "800100"},         {"Ctrl+1", 10, "800101"},
        {"Ctrl+2", 10, "800102"},         {"Ctrl+3", 10, "800103"},
        {"Ctrl+4", 10, "800104"},         {"Ctrl+5", 10, "800105"},
        {"Ctrl+6", 10, "800106"},         {"Ctrl+7", 10, "800107"},
        {"Ctrl+8", 10, "800108"},         {"Ctrl+9", 10, "800109"},
        {"Ctrl++", 10, "80030B"},         {"Ctrl+-", 10, "800309"},
        {"Media Play", 10, "800201"},     {"Media Stop", 10, "800202"},
        {"Media Next", 10, "800203"},     {"Media Previous", 10, "800204"},
        {"Media Pause", 10, "800205"},    {"Ctrl+Media Next", 10, "800206"},
        {"Ctrl+Media Previous", 10, "800207"},
        // At the ends the value does not change, so nothing goes out.
        {"Ctrl++", 31, ""},               {"Ctrl+-", 0, ""},
        {"More", 12, "80031F"},           {"Less", 12, "800300"},
        {"More", 31, ""},                 {"Less", 0, ""},
    };
    // Focus where typing could claim the keys (text, list, slider) and on a
    // button outside the command area.
    for (const auto &c : cases)
        for (const char *focus : {"textEdit_Data", "comboBox_Folder", "horizontalSlider_Volume",
                                  "pushButton_Disconnect"})
            QTest::addRow("%s at volume %d, focus on %s", c.trigger, c.volume, focus)
                << c.trigger << c.volume << QByteArray::fromHex(c.sent) << QString(focus);
}

void ShortcutsTest::triggers()
{
    QFETCH(QString, trigger);
    QFETCH(int, volume);
    QFETCH(QByteArray, sent);
    QFETCH(QString, focus);
    auto *slider = widget<QSlider>("horizontalSlider_Volume");
    if (slider->value() != volume) {
        slider->setValue(volume);
        QVERIFY(player->waitForBytes(3));
        player->takeReceived();
    }
    // Folder shortcuts ignore the selector and the Folder button's state.
    widget<QComboBox>("comboBox_Folder")->setCurrentIndex(300);
    widget<QWidget>("pushButton_Folder")->setEnabled(false);
    widget<QWidget>(focus)->setFocus();
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), widget<QWidget>(focus), 5000);
    const QStringList labels = sent_Labels(window);

    if (trigger == "More" || trigger == "Less")
        widget<QPushButton>("pushButton_Volume_" + trigger)->click();
    else
        press(QKeySequence(trigger)[0]);
    if (sent.isEmpty()) {
        QCOMPARE(sent_Labels(window), labels);
        QCOMPARE(slider->value(), volume);
        QVERIFY(nothingSent());
        return;
    }
    QVERIFY(player->waitForBytes(3));
    QCOMPARE(player->takeReceived(), sent);
    QCOMPARE(sent_Labels(window), labels_For(sent, false));
    if (sent.at(1) == 3)
        QCOMPARE(widget<QLabel>("label_Volume_2")->text(), QString::number(int(sent.at(2))));
}

void ShortcutsTest::inactiveWindowIgnoresShortcuts()
{
    QWidget other;
    other.resize(200, 100);
    QVERIFY(activate_Window(&other));
    press(Qt::CTRL + Qt::Key_5);
    press(Qt::Key_MediaStop);
    QVERIFY(nothingSent());
}

QTEST_MAIN(ShortcutsTest)
#include "tst_shortcuts.moc"
