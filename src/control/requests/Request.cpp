#include "control/requests/Request.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace corvane::control {

namespace {

constexpr qsizetype kMaxItems = 64;
constexpr qsizetype kMaxText = 4096;
constexpr qsizetype kMaxWord = 32;

std::optional<QJsonObject> objectOf(const QByteArray& json, qsizetype limit) {
    if (json.size() > limit)
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

bool isText(const QJsonValue& value, qsizetype limit) {
    return value.isString() && value.toString().size() <= limit;
}

bool hasOnlyKeys(const QJsonObject& object, std::initializer_list<const char*> keys) {
    for (auto it = object.begin(); it != object.end(); ++it) {
        bool known = false;
        for (const char* key : keys)
            known = known || it.key() == QLatin1String(key);
        if (!known)
            return false;
    }
    return true;
}

} // namespace

QByteArray encodeRequest(const Request& request) {
    QJsonObject options;
    for (auto it = request.options.begin(); it != request.options.end(); ++it)
        options.insert(it.key(), it.value());
    const QJsonObject object{
        {QStringLiteral("command"), request.command},
        {QStringLiteral("action"), request.action},
        {QStringLiteral("arguments"), QJsonArray::fromStringList(request.arguments)},
        {QStringLiteral("options"), options},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<Request> decodeRequest(const QByteArray& json) {
    const std::optional<QJsonObject> object = objectOf(json, kMaxRequestBytes);
    if (!object || !hasOnlyKeys(*object, {"command", "action", "arguments", "options"}))
        return std::nullopt;
    const QJsonValue command = object->value(QStringLiteral("command"));
    const QJsonValue action = object->value(QStringLiteral("action"));
    const QJsonValue arguments = object->value(QStringLiteral("arguments"));
    const QJsonValue options = object->value(QStringLiteral("options"));
    if (!isText(command, kMaxWord) || !isText(action, kMaxWord) || !arguments.isArray() ||
        !options.isObject())
        return std::nullopt;
    Request request;
    request.command = command.toString();
    request.action = action.toString();
    const QJsonArray list = arguments.toArray();
    if (list.size() > kMaxItems)
        return std::nullopt;
    for (const QJsonValue& value : list) {
        if (!isText(value, kMaxText))
            return std::nullopt;
        request.arguments << value.toString();
    }
    const QJsonObject map = options.toObject();
    if (map.size() > kMaxItems)
        return std::nullopt;
    for (auto it = map.begin(); it != map.end(); ++it) {
        if (it.key().size() > kMaxWord || !isText(it.value(), kMaxText))
            return std::nullopt;
        request.options.insert(it.key(), it.value().toString());
    }
    return request;
}

QByteArray encodeAnswer(const Answer& answer) {
    const QJsonObject object{
        {QStringLiteral("exit"), answer.exitCode},
        {QStringLiteral("out"), answer.out},
        {QStringLiteral("err"), answer.err},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<Answer> decodeAnswer(const QByteArray& json) {
    const std::optional<QJsonObject> object = objectOf(json, kMaxAnswerBytes);
    if (!object)
        return std::nullopt;
    const QJsonValue exitCode = object->value(QStringLiteral("exit"));
    const QJsonValue out = object->value(QStringLiteral("out"));
    const QJsonValue err = object->value(QStringLiteral("err"));
    if (!exitCode.isDouble() || !out.isString() || !err.isString())
        return std::nullopt;
    const int code = exitCode.toInt(-1);
    if (code != ExitCode::Success && code != ExitCode::Failure && code != ExitCode::Usage)
        return std::nullopt;
    return Answer{code, out.toString(), err.toString()};
}

} // namespace corvane::control
