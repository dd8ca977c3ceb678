#include "history/RestorePlace.h"

#include "tree/CategoryNames.h"

namespace RestorePlace {

Place of(const QString &category, const QString &subcategory)
{
    // Siblings of one name are no reason here: the row joins the category of that name.
    QString refusal = CategoryNames::refusal(category, {});
    if (refusal.isEmpty() && !subcategory.isEmpty())
        refusal = CategoryNames::refusal(subcategory, {});
    if (refusal.isEmpty())
        return {category, subcategory, QString()};
    return {RescueCategory, QString(), refusal};
}

} // namespace RestorePlace
