#pragma once

#include "store/TFile.h"

// A text material (table textfile).
class TFileText : public TFile
{
public:
    QStringList main; // the body, line by line

    QString insertStatement() const override;
    QString loadStatement(qint64 id) const override;
    QString updateStatement(qint64 id) const override;

protected:
    void readRow(const QSqlQuery &row) override;
    void clearText() override { main.clear(); }
};
