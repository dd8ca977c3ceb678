#pragma once

#include "edit/MaterialDialog.h"

#include <memory>

class TextMaterial;

// The dialog that adds a text material to a category or modifies one.
class TextMaterialDialog : public MaterialDialog
{
    Q_OBJECT
public:
    static std::unique_ptr<TextMaterialDialog> createForAdd(QWidget *owner, const QStringList &context);
    static std::unique_ptr<TextMaterialDialog> createForModify(QWidget *owner, const TextMaterial &record,
                                                               const QStringList &context);

public slots:
    void saveMaterial() override;

private:
    TextMaterialDialog(QWidget *owner, const QStringList &context, int mode);
};
