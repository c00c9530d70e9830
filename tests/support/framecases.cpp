#include "framecases.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QtTest>

#include "app/mainwindow.h"
#include "testsupport.h"

namespace {
// Model sets: the first three share one command table, which KS10 and the
// TCP model extend; folder banks differ (8, 8, 1, 2, 8).
constexpr int All = 0b11111, TableB = 0b11000, TwoBanks = 0b11011, EightBanks = 0b10011;

const struct
{
    const char *control;
    const char *argument;
    const char *id;
    const char *frame;
    int models;
} Cases[] = {
    {"pushButton_Play", "", "5", "850201", All},
    {"pushButton_Play", "", "0", "800201", All},
    {"pushButton_Play", "", "127", "FF0201", All},
    {"pushButton_Stop", "", "5", "850202", All},
    {"pushButton_Next_File", "", "5", "850203", All},
    {"pushButton_Previous_File", "", "5", "850204", All},
    {"pushButton_Pause", "", "5", "850205", TableB},
    {"pushButton_Next_Folder", "", "5", "850206", TableB},
    {"pushButton_Previous_Folder", "", "5", "850207", TableB},
    {"volume", "20", "5", "850314", All},
    {"volume", "0", "5", "850300", All},
    {"folder", "007", "5", "850107", All},
    {"folder", "127", "5", "85017F", All},
    {"folder", "128", "5", "851100", TwoBanks},
    {"folder", "200", "5", "851148", TwoBanks},
    {"folder", "300", "5", "85212C", EightBanks},
    {"folder", "999", "5", "857167", EightBanks},
    {"request", "Player Status", "5", "850401", TableB},
    {"request", "Current file", "5", "850402", TableB},
    {"request", "Full path name", "5", "850403", TableB},
    {"request", "Used storage media", "5", "850404", TableB},
    {"request", "Current folder number", "5", "850406", TableB},
    {"request", "Remaining time", "5", "850409", TableB},
    {"request", "Total time of the file", "5", "85040A", TableB},
    {"request", "Volume", "5", "85040B", TableB},
    {"changeId", "9", "5", "857F09", TableB},
    {"changeId", "127", "0", "807F7F", TableB},
};

void select(QComboBox *box, const QString &text)
{
    const int index = box->findText(text);
    if (index < 0)
        qFatal("%s has no entry %s", qPrintable(box->objectName()), qPrintable(text));
    box->setCurrentIndex(index);
}
} // namespace

void add_Frame_Rows(const QList<int> &models)
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("id");
    QTest::addColumn<bool>("decimal");
    QTest::addColumn<QByteArray>("frame");
    for (int model : models) {
        for (const auto &c : Cases) {
            if (!(c.models & (1 << model)))
                continue;
            for (bool decimal : {false, true})
                QTest::addRow("model %d, %s %s, ID %s, %s", model, c.control, c.argument, c.id,
                              decimal ? "dec" : "hex")
                    << model << c.control << c.argument << c.id << decimal
                    << QByteArray::fromHex(c.frame);
        }
    }
}

void perform_Control(MainWindow *window, const QString &control, const QString &argument,
                     const QString &id)
{
    select(find_Widget<QComboBox>(window, "comboBox_ID"), id);
    if (control == "volume") {
        find_Widget<QSlider>(window, "horizontalSlider_Volume")->setValue(argument.toInt());
        return;
    }
    const QHash<QString, QString> selectors = {{"folder", "Folder"},
                                               {"request", "Request"},
                                               {"changeId", "Change_ID"}};
    QString button = control;
    if (selectors.contains(control)) {
        select(find_Widget<QComboBox>(window, "comboBox_" + selectors[control]), argument);
        button = "pushButton_" + selectors[control];
    }
    find_Widget<QPushButton>(window, button)->click();
}

QStringList labels_For(const QByteArray &frame, bool decimal)
{
    QStringList texts;
    for (const char c : frame)
        texts << (decimal ? QString::number(quint8(c))
                          : QByteArray(1, c).toHex().toUpper());
    return texts;
}

QStringList sent_Labels(MainWindow *window)
{
    QStringList texts;
    for (int i = 1; i <= 3; ++i)
        texts << find_Widget<QLabel>(window, QStringLiteral("label_Byte_%1_B").arg(i))->text();
    return texts;
}
