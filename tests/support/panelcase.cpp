#include "panelcase.h"

void PanelCase::init()
{
    reset_Process_Objects();
    window = new MainWindow;
    window->show();
    player = std::make_unique<LoopbackPlayer>();
    if (m_linked)
        QVERIFY(connect_To_Player(window, *player));
}

void PanelCase::cleanup()
{
    player.reset();
    delete window;
    reset_Process_Objects();
}

bool PanelCase::nothingSent()
{
    perform_Control(window, "Play", "", "5");
    return player->waitForBytes(3) && player->takeReceived() == QByteArray::fromHex("850201");
}

namespace {
const struct
{
    const char *control, *argument, *id, *frame;
    bool longTableOnly; // the first three models lack these controls
} Cases[] = {
    {"Play", "", "5", "850201", false},
    {"Play", "", "0", "800201", false},
    {"Stop", "", "5", "850202", false},
    {"Next_File", "", "5", "850203", false},
    {"Previous_File", "", "5", "850204", false},
    {"Pause", "", "5", "850205", true},
    {"Next_Folder", "", "5", "850206", true},
    {"Previous_Folder", "", "5", "850207", true},
    {"Volume", "20", "5", "850314", false},
    {"Folder", "007", "5", "850107", false},
    {"Folder", "080", "5", "850150", false}, // decimal, not octal
    {"Folder", "200", "5", "851148", false},
    {"Folder", "300", "5", "85212C", false},
    {"Folder", "999", "5", "857167", false},
    {"Request", "Remaining time", "5", "850409", true},
    {"Request", "Volume", "5", "85040B", true}, // also the Volume command's label
    {"Change_ID", "9", "5", "857F09", true},
};

void select(QWidget *window, const QString &selector, const QString &entry)
{
    auto *box = find_Widget<QComboBox>(window, "comboBox_" + selector);
    box->setCurrentIndex(box->findText(entry));
    QCOMPARE(box->currentText(), entry);
}
} // namespace

void add_Frame_Rows(int model)
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("id");
    QTest::addColumn<bool>("decimal");
    QTest::addColumn<QByteArray>("frame");
    for (const auto &c : Cases) {
        if (c.longTableOnly && model < 3)
            continue;
        for (bool decimal : {false, true})
            QTest::addRow("%s %s, ID %s, %s", c.control, c.argument, c.id, decimal ? "dec" : "hex")
                << c.control << c.argument << c.id << decimal << QByteArray::fromHex(c.frame);
    }
}

void perform_Control(MainWindow *window, const QString &control, const QString &argument,
                     const QString &id)
{
    select(window, "ID", id);
    if (control == "Volume") {
        find_Widget<QSlider>(window, "horizontalSlider_Volume")->setValue(argument.toInt());
        return;
    }
    if (!argument.isEmpty())
        select(window, control, argument);
    find_Widget<QPushButton>(window, "pushButton_" + control)->click();
}

QStringList labels_For(const QByteArray &frame, bool decimal)
{
    QStringList texts;
    for (const char c : frame)
        texts << (decimal ? QString::number(quint8(c)) : QByteArray(1, c).toHex().toUpper());
    return texts;
}

QStringList sent_Labels(MainWindow *window)
{
    QStringList texts;
    for (int i = 1; i <= 3; ++i)
        texts << find_Widget<QLabel>(window, QStringLiteral("label_Byte_%1_B").arg(i))->text();
    return texts;
}
