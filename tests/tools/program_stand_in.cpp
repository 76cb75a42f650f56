// Stands in for SitePins where a test only needs to know that it was
// started and how: appends its arguments, one JSON array per start, to the
// file named by SITEPINS_STAND_IN_LOG, and ends.
#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QFile log(qEnvironmentVariable("SITEPINS_STAND_IN_LOG"));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
        return 1;
    log.write(QJsonDocument(QJsonArray::fromStringList(app.arguments().mid(1))).toJson(QJsonDocument::Compact) + '\n');
    return 0;
}
