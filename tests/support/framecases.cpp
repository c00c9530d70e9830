#include "framecases.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>

#include "app/mainwindow.h"
#include "testsupport.h"

namespace {
struct Case
{
    QString control;
    QString argument;
    QString id;
    QByteArray frame;
};

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray frame;
    for (int v : values)
        frame.append(char(v));
    return frame;
}

// Transport buttons and volume of every model, with player ID 5.
QList<Case> commonCases()
{
    return {
        {"pushButton_Play", "", "5", bytes({0x85, 0x02, 0x01})},
        {"pushButton_Play", "", "0", bytes({0x80, 0x02, 0x01})},
        {"pushButton_Play", "", "127", bytes({0xFF, 0x02, 0x01})},
        {"pushButton_Stop", "", "5", bytes({0x85, 0x02, 0x02})},
        {"pushButton_Next_File", "", "5", bytes({0x85, 0x02, 0x03})},
        {"pushButton_Previous_File", "", "5", bytes({0x85, 0x02, 0x04})},
        {"volume", "20", "5", bytes({0x85, 0x03, 0x14})},
        {"volume", "0", "5", bytes({0x85, 0x03, 0x00})},
        {"folder", "000", "5", bytes({0x85, 0x01, 0x00})},
        {"folder", "007", "5", bytes({0x85, 0x01, 0x07})},
        {"folder", "127", "5", bytes({0x85, 0x01, 0x7F})},
    };
}

QList<Case> twoBankCases()
{
    return {
        {"folder", "128", "5", bytes({0x85, 0x11, 0x00})},
        {"folder", "200", "5", bytes({0x85, 0x11, 0x48})},
    };
}

QList<Case> eightBankCases()
{
    return twoBankCases() + QList<Case>{
        {"folder", "300", "5", bytes({0x85, 0x21, 0x2C})},
        {"folder", "999", "5", bytes({0x85, 0x71, 0x67})},
    };
}

QList<Case> tableBCases()
{
    return {
        {"pushButton_Pause", "", "5", bytes({0x85, 0x02, 0x05})},
        {"pushButton_Next_Folder", "", "5", bytes({0x85, 0x02, 0x06})},
        {"pushButton_Previous_Folder", "", "5", bytes({0x85, 0x02, 0x07})},
        {"request", "Player Status", "5", bytes({0x85, 0x04, 0x01})},
        {"request", "Current file", "5", bytes({0x85, 0x04, 0x02})},
        {"request", "Full path name", "5", bytes({0x85, 0x04, 0x03})},
        {"request", "Used storage media", "5", bytes({0x85, 0x04, 0x04})},
        {"request", "Current folder number", "5", bytes({0x85, 0x04, 0x06})},
        {"request", "Remaining time", "5", bytes({0x85, 0x04, 0x09})},
        {"request", "Total time of the file", "5", bytes({0x85, 0x04, 0x0A})},
        {"request", "Volume", "5", bytes({0x85, 0x04, 0x0B})},
        {"changeId", "9", "5", bytes({0x85, 0x7F, 0x09})},
        {"changeId", "127", "0", bytes({0x80, 0x7F, 0x7F})},
    };
}

QList<Case> casesFor(int model)
{
    switch (model) {
    case 0: // Pebble Player 2
    case 1: // Heron Player
        return commonCases() + eightBankCases();
    case 2: // Larch Player: one bank
        return commonCases();
    case 3: // KS10 - KS15: two banks
        return commonCases() + twoBankCases() + tableBCases();
    default: // KS15 - TCP/IP
        return commonCases() + eightBankCases() + tableBCases();
    }
}

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
        for (const Case &c : casesFor(model)) {
            for (bool decimal : {false, true}) {
                const QString name = QStringLiteral("model %1, %2 %3, ID %4, %5")
                                         .arg(model)
                                         .arg(c.control, c.argument, c.id,
                                              decimal ? QStringLiteral("dec")
                                                      : QStringLiteral("hex"));
                QTest::newRow(qPrintable(name))
                    << model << c.control << c.argument << c.id << decimal << c.frame;
            }
        }
    }
}

void perform_Control(MainWindow *window, const QString &control, const QString &argument,
                     const QString &id)
{
    select(find_Widget<QComboBox>(window, QStringLiteral("comboBox_ID")), id);
    if (control == QLatin1String("volume")) {
        find_Widget<QSlider>(window, QStringLiteral("horizontalSlider_Volume"))
            ->setValue(argument.toInt());
    } else if (control == QLatin1String("folder")) {
        select(find_Widget<QComboBox>(window, QStringLiteral("comboBox_Folder")), argument);
        find_Widget<QPushButton>(window, QStringLiteral("pushButton_Folder"))->click();
    } else if (control == QLatin1String("request")) {
        select(find_Widget<QComboBox>(window, QStringLiteral("comboBox_Request")), argument);
        find_Widget<QPushButton>(window, QStringLiteral("pushButton_Request"))->click();
    } else if (control == QLatin1String("changeId")) {
        select(find_Widget<QComboBox>(window, QStringLiteral("comboBox_Change_ID")), argument);
        find_Widget<QPushButton>(window, QStringLiteral("pushButton_Change_ID"))->click();
    } else {
        find_Widget<QPushButton>(window, control)->click();
    }
}

QStringList labels_For(const QByteArray &frame, bool decimal)
{
    QStringList texts;
    for (const char c : frame) {
        const int value = quint8(c);
        texts << (decimal ? QString::number(value)
                          : QString::number(value, 16).toUpper().rightJustified(2, '0'));
    }
    return texts;
}

QStringList sent_Labels(MainWindow *window)
{
    return {find_Widget<QLabel>(window, QStringLiteral("label_Byte_1_B"))->text(),
            find_Widget<QLabel>(window, QStringLiteral("label_Byte_2_B"))->text(),
            find_Widget<QLabel>(window, QStringLiteral("label_Byte_3_B"))->text()};
}
