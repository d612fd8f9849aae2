#include "CommandRegistry.h"

#include "ConsoleDialogs.h"
#include "Db.h"
#include "Session.h"

#include <cstdio>

Db &BatchContext::db() const
{
    if (!session.db())
        throw DbError(QStringLiteral("データベースに接続されていません。"), QStringLiteral("3704"));
    return *session.db();
}

void CommandRegistry::addDatabaseCommand(const QString &name, const QString &usage,
                                         const QString &summary,
                                         int (*run)(BatchContext &, const Command &))
{
    Command command{name, usage, summary, /*needsDatabase*/ true, nullptr};
    command.run = [command, run](BatchContext &ctx) { return run(ctx, command); };
    add(command);
}

const Command *CommandRegistry::find(const QString &name) const
{
    for (const Command &c : m_commands)
        if (c.name == name)
            return &c;
    return nullptr;
}

int usageError(const Command &command, const QString &problem)
{
    return usageError(command.usage, problem);
}

int usageError(const QString &usageLine, const QString &problem)
{
    const QByteArray text =
        (problem + QStringLiteral("\nusage: ostera ") + usageLine + QLatin1Char('\n')).toUtf8();
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
    return ExitUsage;
}

void writeOut(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

namespace {
QString fieldText(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    text.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    return text;
}
} // namespace

void printFields(const QStringList &values)
{
    QStringList fields;
    fields.reserve(values.size());
    for (const QString &v : values)
        fields << fieldText(v);
    const QByteArray line = (fields.join(QLatin1Char('\t')) + QLatin1Char('\n')).toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
}

int refuseNoRecords(BatchContext &ctx)
{
    ctx.dialogs.message(QStringLiteral("レコードがありません。"), Icon::Error);
    return ExitFailed;
}

std::optional<QString> takeOption(QStringList &args, const QString &name, bool *missing)
{
    std::optional<QString> value;
    for (int i = 0; i < args.size();) {
        if (args.at(i) == name) {
            if (i + 1 >= args.size()) {
                if (missing)
                    *missing = true;
                args.removeAt(i);
                continue;
            }
            value = args.at(i + 1);
            args.remove(i, 2);
            continue;
        }
        if (args.at(i).startsWith(name + QLatin1Char('='))) {
            value = args.at(i).mid(name.size() + 1);
            args.removeAt(i);
            continue;
        }
        ++i;
    }
    return value;
}

bool takeFlag(QStringList &args, const QString &name)
{
    return args.removeAll(name) > 0;
}
