#include "strategy/Wording.h"

#include "scoring/Categories.h"

#include <QStringList>

#include <cmath>

namespace strategy {

QString Describe(const Choice &choice)
{
    if (choice.action == Choice::Action::Book) {
        const QString caption = QString::fromLatin1(Categories::Rows[choice.row].caption);
        if (choice.points == 0)
            return QStringLiteral("sacrifice %1").arg(caption);
        return QStringLiteral("book %1 for %2").arg(caption).arg(choice.points);
    }
    const int rolled = 5 - static_cast<int>(choice.kept.size());
    if (choice.kept.empty())
        return QStringLiteral("roll all 5 dice");
    QStringList faces;
    for (int face : choice.kept)
        faces << QString::number(face);
    return QStringLiteral("keep %1 and roll %2 %3")
        .arg(faces.join(u' '))
        .arg(rolled)
        .arg(rolled == 1 ? QStringLiteral("die") : QStringLiteral("dice"));
}

double JsonFigure(double value)
{
    return std::round(value * 1e4) / 1e4;
}

} // namespace strategy
