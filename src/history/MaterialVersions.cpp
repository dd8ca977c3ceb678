#include "history/MaterialVersions.h"

#include "history/HistorySchema.h"
#include "history/RestoreOutcome.h"
#include "history/RestorePlace.h"
#include "store/Database.h"
#include "store/SqlText.h"

#include <QSqlQuery>
#include <QVariant>

MaterialVersions::MaterialVersions(Database &database, bool instance, qint64 id)
    : m_database(database), m_kind(HistorySchema::kind(instance)), m_id(id)
{
}

bool MaterialVersions::list(QVector<VersionEntry> *entries, QString *error) const
{
    entries->clear();
    return m_database.select(
        QStringLiteral("select seq,kepttime,coalesce(title,''),length(") +
            SqlText::fromTokensExpression(QStringLiteral("coalesce(") + m_kind.body + QStringLiteral(",'')"),
                                          true) +
            QStringLiteral(") from ") + m_kind.versions + QStringLiteral(" where id=") +
            QString::number(m_id) + QStringLiteral(" order by seq desc"),
        [entries](const QSqlQuery &row) {
            entries->append({row.value(0).toLongLong(), row.value(1).toString(),
                             SqlText::fromTokens(row.value(2).toString(), false), row.value(3).toLongLong()});
        },
        error);
}

bool MaterialVersions::readOne(const QString &sql, KeptMaterial *material, bool *found, QString *error) const
{
    *found = false;
    return m_database.select(
        sql,
        [this, material, found](const QSqlQuery &row) {
            *material = KeptMaterial::read(row, m_kind);
            *found = true;
        },
        error);
}

bool MaterialVersions::read(qint64 seq, KeptMaterial *version, bool *found, QString *error) const
{
    return readOne(QStringLiteral("select ") + KeptMaterial::selectList(m_kind, false) +
                       QStringLiteral(" from ") + m_kind.versions + QStringLiteral(" where seq=") +
                       QString::number(seq) + QStringLiteral(" and id=") + QString::number(m_id),
                   version, found, error);
}

bool MaterialVersions::readCurrent(KeptMaterial *current, bool *found, QString *error) const
{
    return readOne(QStringLiteral("select ") + KeptMaterial::selectList(m_kind, true) +
                       QStringLiteral(" from ") + m_kind.materials + QStringLiteral(" where id=") +
                       QString::number(m_id),
                   current, found, error);
}

bool MaterialVersions::restore(qint64 seq, RestoreOutcome *outcome, QString *error) const
{
    KeptMaterial version;
    bool found = false;
    if (!read(seq, &version, &found, error))
        return false;
    if (!found) {
        *error = QStringLiteral("这个版本已经不在了（一份资料只保留最近的%1个版本）。")
                     .arg(HistorySchema::VersionsKept);
        return false;
    }
    const RestorePlace::Place place = RestorePlace::of(version.category, version.subcategory);
    QStringList own;
    QStringList kept;
    for (const QString &column : m_kind.columns) {
        if (column == QLatin1String("classname") || column == QLatin1String("bigclassname"))
            continue;
        own.append(column);
        kept.append(QStringLiteral("coalesce(") + column + QStringLiteral(",'')"));
    }
    int changed = 0;
    if (!m_database.execute(QStringLiteral("update ") + m_kind.materials + QStringLiteral(" set (") +
                                own.join(QLatin1Char(',')) + QStringLiteral(")=(select ") +
                                kept.join(QLatin1Char(',')) + QStringLiteral(" from ") + m_kind.versions +
                                QStringLiteral(" where seq=") + QString::number(seq) +
                                QStringLiteral("),classname=") + SqlText::literal(place.subcategory) +
                                QStringLiteral(",bigclassname=") + SqlText::literal(place.category) +
                                QStringLiteral(" where id=") + QString::number(m_id),
                            error, &changed))
        return false;
    if (changed != 1) {
        *error = QStringLiteral("这份资料已经被删除了（也许是在另一台电脑上），可以在回收站里恢复它。");
        return false;
    }
    outcome->restored = 1;
    if (!place.refusal.isEmpty())
        outcome->rescued.append(QStringLiteral("“%1”：%2").arg(version.title, place.refusal));
    outcome->needed[m_kind.instances ? 1 : 0].append({place.category, place.subcategory});
    return true;
}
