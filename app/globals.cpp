#include "app/globals.h"

#include <QSerialPort>
#include <QTcpSocket>

QTranslator translator;
QTranslator qtTranslator;
const QString Language_File_Prefix = QStringLiteral("LanguageData_");
const QLocale English_Locale(QLocale::English);
const QLocale French_Locale(QLocale::French);

QList<PlayerModel> ModelCatalogue;

QSerialPort *const serialPort = new QSerialPort();
QTcpSocket *const tcpSocket = new QTcpSocket();

QString readDataText;
ReceivedDataFormatter readDataFormatter;

const QString Config_File_Suffix = QStringLiteral(".cfg");
const QString Config_File_Version = QStringLiteral("1.00");
const QString Config_File_Magic = QStringLiteral("QVX1");
const QString Config_File_Title = QStringLiteral("(Configuration File)");
const QString Config_Default_Value = QStringLiteral("(default)");

QString Config_File_Path;
