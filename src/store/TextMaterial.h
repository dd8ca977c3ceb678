#pragma once

#include "store/Material.h"

// A text material (table textfile).
class TextMaterial : public Material
{
public:
    QStringList body; // line by line

    QString insertStatement() const override;
    QString loadStatement(qint64 id) const override;
    QString updateStatement(qint64 id) const override;

protected:
    void readRow(const QSqlQuery &row) override;
    void clearText() override { body.clear(); }
};
