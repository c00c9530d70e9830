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

QString Config_File_Path;
