#include "cli/CommandLine.h"

#include <QRegularExpression>
#include <cstdio>

#include "cli/Commands.h"
#include "engine/text/Win1250.h"

namespace trevo::cli {

namespace {

QString Utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Qt's parser names the option it stopped at in quotes; its words are English, so the message
// is made here.
UsageError ParserError(const QCommandLineParser& parser) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        const QString& name = unknown.constFirst();
        const QString dashes = name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--");
        return {"nieznana opcja '" + (dashes + name).toStdString() + "'"};
    }
    const QString text = parser.errorText();
    const auto quoted = QRegularExpression(QStringLiteral("'([^']*)'")).match(text);
    const std::string option = quoted.hasMatch() ? quoted.captured(1).toStdString() : "";
    if (text.startsWith(QStringLiteral("Missing value"))) {
        return {"opcja '" + option + "' wymaga wartości"};
    }
    if (text.startsWith(QStringLiteral("Unexpected value"))) {
        return {"opcja '" + option + "' nie przyjmuje wartości"};
    }
    return {"błędne argumenty: " + text.toStdString()};
}

}  // namespace

CommandLine::CommandLine() {
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
}

void CommandLine::AddFlag(const char* name) {
    parser_.addOption(QCommandLineOption(QString::fromLatin1(name)));
}

void CommandLine::AddValueOption(const char* name, const char* valueName) {
    parser_.addOption(
        QCommandLineOption(QString::fromLatin1(name), QString(), QString::fromLatin1(valueName)));
}

std::optional<std::variant<HelpRequested, UsageError>> CommandLine::Parse(
    const std::vector<std::string>& args) {
    QStringList arguments{QStringLiteral("trevo2kpr-cli")};
    for (const std::string& arg : args) {
        arguments << Utf8(arg);
    }
    const bool parsed = parser_.parse(arguments);
    // Help wins over everything else on the line, as in other tools.
    if (parser_.isSet(QStringLiteral("help"))) {
        return HelpRequested{};
    }
    if (!parsed) {
        return ParserError(parser_);
    }
    return std::nullopt;
}

bool CommandLine::IsSet(const char* name) const {
    return parser_.isSet(QString::fromLatin1(name));
}

std::optional<std::string> CommandLine::Value(const char* name) const {
    const QStringList values = parser_.values(QString::fromLatin1(name));
    if (values.isEmpty()) {
        return std::nullopt;
    }
    return values.constLast().toStdString();
}

std::vector<std::string> CommandLine::Positional() const {
    std::vector<std::string> result;
    for (const QString& argument : parser_.positionalArguments()) {
        result.push_back(argument.toStdString());
    }
    return result;
}

std::variant<PolishCharset, UsageError> CodePageOption(const CommandLine& line) {
    const auto value = line.Value("code-page");
    if (!value || *value == "mazovia") {
        return PolishCharset::pcMazovia;
    }
    if (*value == "852") {
        return PolishCharset::pcCp852;
    }
    return UsageError{"opcja '--code-page' przyjmuje mazovia albo 852, nie '" + *value + "'"};
}

std::variant<std::string, UsageError> PathArgument(const std::string& utf8) {
    if (auto bytes = text::Utf8ToWin1250(utf8)) {
        return std::move(*bytes);
    }
    return UsageError{"ścieżka '" + utf8 + "' ma znaki spoza Windows-1250"};
}

std::variant<PathOperand, UsageError> SolePathArgument(const CommandLine& line,
                                                       std::string_view name) {
    std::vector<std::string> positional = line.Positional();
    if (positional.size() != 1) {
        return UsageError{positional.empty() ? "brak " + std::string(name)
                                             : "nadmiarowy argument '" + positional[1] + "'"};
    }
    auto converted = PathArgument(positional[0]);
    if (auto* error = std::get_if<UsageError>(&converted)) {
        return std::move(*error);
    }
    return PathOperand{std::move(positional[0]), std::move(std::get<std::string>(converted))};
}

int ReportUsageError(std::string_view command, const UsageError& error) {
    const std::string name = "trevo2kpr-cli" + (command.empty() ? "" : " " + std::string(command));
    std::fprintf(stderr, "%s: %s\nWięcej: %s --help\n", name.c_str(), error.message.c_str(),
                 name.c_str());
    return kExitUsage;
}

int PrintHelp(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? kExitDone : kExitStopped;
}

std::optional<int> ParseOrFinish(CommandLine& line, const std::vector<std::string>& args,
                                 std::string_view command, std::string_view help) {
    const auto stop = line.Parse(args);
    if (!stop) {
        return std::nullopt;
    }
    if (std::holds_alternative<HelpRequested>(*stop)) {
        return PrintHelp(help);
    }
    return ReportUsageError(command, std::get<UsageError>(*stop));
}

}  // namespace trevo::cli
