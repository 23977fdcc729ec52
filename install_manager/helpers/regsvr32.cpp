// regsvr32 [/u] [/s] "<library>": registers (or unregisters) a component
// library by calling its own entry point, and tells the outcome in a message
// box. Exit status 0 on success.
#include "helpers/SelfRegistration.h"

#include <platform/Interaction.h>

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const auto request = stewardex::helpers::parseRegistrationArguments(arguments);
    const QString title = QString::fromLatin1(stewardex::helpers::RegSvr32Title);
    if (!request) {
        // Even a bad command line stays quiet when asked to.
        if (arguments.contains(QStringLiteral("/s"), Qt::CaseInsensitive)
            || arguments.contains(QStringLiteral("-s"), Qt::CaseInsensitive))
            return static_cast<int>(stewardex::helpers::RegistrationStatus::BadArguments);
        platform::msgBox(stewardex::helpers::registrationUsage(), platform::vbCritical, title);
        return static_cast<int>(stewardex::helpers::RegistrationStatus::BadArguments);
    }
    const auto outcome = stewardex::helpers::runSelfRegistration(*request);
    if (!request->silent)
        platform::msgBox(outcome.message, outcome.isError() ? platform::vbCritical : platform::vbInformation, title);
    return static_cast<int>(outcome.status);
}
