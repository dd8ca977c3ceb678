#pragma once

#include "exchange/ExchangeReport.h"

#include <functional>

class ImportPlan;
#include <QStringList>
struct MaterialFile;

// Files the materials of an import plan in one transaction: all of them or, when the import is
// cancelled or fails, none. Each file becomes a material of its category's root: an instance
// material's file goes only under the instance root, any other file only under the text root.
// Titles and bodies take their stored form by the rules of the add dialog, so that an exported
// material comes back byte for byte; a language the file names is kept beside its material when
// it is not the one the material would be guessed to have.
class MaterialImporter
{
public:
    explicit MaterialImporter(const ImportPlan &plan) : m_plan(plan) {}

    // progress(done, total) is called after every file; false cancels the import. beforeCommit,
    // when given, runs last in the transaction (the tree's categories); its false undoes everything.
    ExchangeReport run(const std::function<bool(int done, int total)> &progress,
                       const std::function<bool(QString *error)> &beforeCommit = {});

private:
    // The insert statement of the file's material; empty, with the reason, when it is left out.
    static QString statement(const MaterialFile &material, const QStringList &place, QString *reason);

    const ImportPlan &m_plan;
};
