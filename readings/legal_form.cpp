#include "readings/legal_form.h"

#include <QRegularExpression>

QString withoutLegalForm(const QString& name)
{
    static const QRegularExpression legalForm(QStringLiteral(
        "株式会社|有限会社|合同会社|合資会社|合名会社|相互会社|"
        "(一般|公益)(社団|財団)法人|特定非営利活動法人|NPO法人|社会福祉法人|医療法人(社団|財団)?|"
        "学校法人|宗教法人|独立行政法人|"
        "\\((株|有|同|資|名|社|財|医|学|福|特非)\\)"));
    const QString rest = QString(name).remove(legalForm).simplified();
    return rest.isEmpty() ? name : rest;
}
