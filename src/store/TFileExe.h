#pragma once

#include "store/TFile.h"

// An instance material (table exefile): a file or program on disk with a description.
class TFileExe : public TFile
{
public:
    QStringList about; // the description, line by line
    QString fpath;

    QString insertStatement() const override;
    QString loadStatement(qint64 id) const override;
    QString updateStatement(qint64 id) const override;

protected:
    void readRow(const QSqlQuery &row) override;
    void clearText() override { about.clear(); }
};
