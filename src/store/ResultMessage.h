#pragma once

#include <QString>

// The result text of the last material record operation, for the caller to show.
extern QString ResultMessage;

namespace ResultText {
inline const QString Added = QStringLiteral("添加成功！你可以继续操作！");
inline const QString Done = QStringLiteral("操作成功！");
inline const QString FailurePrefix = QStringLiteral("数据库操作失败！ 原因：");
} // namespace ResultText
