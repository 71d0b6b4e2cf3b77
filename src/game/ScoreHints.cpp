// The score hints: after each finished roll every category box tells, as its
// tooltip, what it would score for the dice on the table.

#include "scoring/Categories.h"
#include "scoring/valmod.h"
#include "ui/Form1.h"

#include <QCheckBox>

void Form1::ShowScoreHints()
{
    if (!HasRolled)
        return;
    // Every box gets its hint, booked or not.
    for (int row = 1; row <= Categories::RowCount; ++row) {
        chkChooseScore[row]->setToolTip(QLatin1String(Categories::Rows[row].hintPrefix)
                                        + QString::number(valmod::CategoryValue[row]));
    }
}
