#pragma once

#include "store/Material.h"

// A text material (table textfile).
class TextMaterial : public Material
{
public:
    QStringList body; // line by line

    // The body as a person copies it, after a load: with the line ends it was stored with.
    const QString &typedBody() const { return m_typedBody; }

    QString insertStatement() const override;
    QString loadStatement(qint64 id) const override;
    QString updateStatement(qint64 id) const override;

protected:
    void readRow(const QSqlQuery &row) override;
    void clearText() override
    {
        body.clear();
        m_typedBody.clear();
    }

private:
    QString m_typedBody;
};
