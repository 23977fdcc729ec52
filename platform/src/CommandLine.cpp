#include "platform/CommandLine.h"

#include <optional>

namespace platform {
namespace {

const OptionSpec* findOption(const QList<OptionSpec>& options, const QString& name)
{
    for (const OptionSpec& option : options)
        if (option.name == name)
            return &option;
    return nullptr;
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments, const QList<OptionSpec>& options)
{
    CommandLine line;
    bool plainOnly = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (plainOnly || argument == QLatin1String("-") || !argument.startsWith(QLatin1Char('-'))) {
            line.plain << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            plainOnly = true;
            continue;
        }
        QString name;
        std::optional<QString> inlineValue;
        if (argument == QLatin1String("-h")) {
            name = QStringLiteral("help");
        } else if (argument.startsWith(QLatin1String("--"))) {
            name = argument.mid(2);
            if (const qsizetype equals = name.indexOf(QLatin1Char('=')); equals >= 0) {
                inlineValue = name.mid(equals + 1);
                name.truncate(equals);
            }
        } else {
            line.error = QStringLiteral("unknown option %1").arg(argument);
            return line;
        }
        const OptionSpec* option = findOption(options, name);
        if (!option) {
            line.error = QStringLiteral("unknown option --%1").arg(name);
            return line;
        }
        if (line.values.contains(name)) {
            line.error = QStringLiteral("--%1 is given twice").arg(name);
            return line;
        }
        QString value;
        if (option->takesValue) {
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                line.error = QStringLiteral("--%1 needs a value").arg(name);
                return line;
            }
            if (value.isEmpty()) {
                line.error = QStringLiteral("--%1 needs a value").arg(name);
                return line;
            }
        } else if (inlineValue) {
            line.error = QStringLiteral("--%1 takes no value").arg(name);
            return line;
        }
        line.values.insert(name, value);
    }
    return line;
}

bool mentionsOption(const QStringList& arguments, const QStringList& names)
{
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--"))
            return false;
        if (argument == QLatin1String("-h") && names.contains(QStringLiteral("help")))
            return true;
        if (!argument.startsWith(QLatin1String("--")))
            continue;
        const QString name = argument.mid(2).section(QLatin1Char('='), 0, 0);
        if (names.contains(name))
            return true;
    }
    return false;
}

QStringList rawArguments(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace platform
