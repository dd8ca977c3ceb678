#pragma once

#include "store/Material.h"

// An instance material (table exefile): a file or program on disk with a description.
class InstanceMaterial : public Material
{
public:
    QStringList description; // line by line
    QString path;

    QString insertStatement() const override;
    QString loadStatement(qint64 id) const override;
    QString updateStatement(qint64 id) const override;

protected:
    void readRow(const QSqlQuery &row) override;
    void clearText() override { description.clear(); }
};
