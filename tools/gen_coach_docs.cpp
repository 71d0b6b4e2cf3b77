// Writes quintor-coach's manual page and its bash completion from the
// coach's own table of options, so that --help, the manual and the
// completion can never disagree.
//   gen_coach_docs man FILE
//   gen_coach_docs bash FILE

#include "coach/Coach.h"

#include <QFile>
#include <QStringList>

#include <cstdio>

namespace {

using coach::Option;
using coach::ValueKind;

// Text for roff: backslashes and hyphens escaped, no line starting with a
// control character.
QString Roff(QString text)
{
    text.replace(u'\\', QStringLiteral("\\e")).replace(u'-', QStringLiteral("\\-"));
    if (text.startsWith(u'.') || text.startsWith(u'\''))
        text.prepend(QStringLiteral("\\&"));
    return text;
}

QString ManPage()
{
    QString out;
    out += QStringLiteral(".TH QUINTOR\\-COACH 1 \"2026\" \"Quintor\" \"User Commands\"\n"
                          ".SH NAME\n"
                          "quintor\\-coach \\- perfect play for Quintor, for real dice and scripts\n"
                          ".SH SYNOPSIS\n");
    for (const char *usage : {"[\\-\\-booked ROWS \\-\\-upper N] [\\-\\-dice DICE \\-\\-rolls\\-left R] [\\-\\-score N] [\\-\\-top N] [\\-\\-json]",
                              "\\-\\-simulate N [\\-\\-level LEVEL] [\\-\\-seed S] [\\-\\-json]",
                              "\\-\\-review FILE [\\-\\-json]", "\\-\\-stats [DIR] [\\-\\-json]",
                              "\\-\\-win\\-chance FILE [\\-\\-games N] [\\-\\-seed S] [\\-\\-json]"})
        out += QStringLiteral(".B quintor\\-coach\n%1\n.br\n").arg(QLatin1String(usage));
    out += QStringLiteral(
        ".SH DESCRIPTION\n"
        "Tells the best play for the dice game Quintor: the choice with the highest expected final score.\n"
        "With no options it prints the expected score of a new game under perfect play (248.44).\n"
        "Between turns it prints the expected points still to come, the bonus included; with\n"
        ".B \\-\\-dice\n"
        "and\n"
        ".B \\-\\-rolls\\-left\n"
        "it prints the best choice, then every choice, best first, with the expected points still to come\n"
        "after it and what it costs against the best.\n"
        "It can also play simulated games at a strength level, review a recorded game against perfect play,\n"
        "gather statistics over a folder of recorded games, and tell each player's chance of winning a recorded game.\n"
        ".SH OPTIONS\n");
    for (const Option &o : coach::Options()) {
        QString head = QStringLiteral("\\fB%1\\fR").arg(Roff(QLatin1String(o.name)));
        if (o.value)
            head += QString::fromLatin1(o.optionalValue ? " [\\fI%1\\fR]" : " \\fI%1\\fR").arg(QLatin1String(o.value));
        out += QStringLiteral(".TP\n%1\n%2\n").arg(head, Roff(QLatin1String(o.help)));
        if (o.kind == ValueKind::Rows) {
            out += QStringLiteral(".br\nThe rows, numbered as in the game's window:\n.RS\n");
            for (const QString &row : coach::RowNames())
                out += QStringLiteral(".br\n%1\n").arg(Roff(row));
            out += QStringLiteral(".RE\n");
        }
    }
    out += QStringLiteral(
        ".SH EXIT STATUS\n"
        ".TP\n0\nAn answer was printed.\n"
        ".TP\n1\nThe answer could not be written (a full disk or a closed pipe).\n"
        ".TP\n2\nBad input: one line on standard error names the problem. A game record that is not valid\n"
        "JSON, of another format or version, or that could not have been played counts as bad input.\n"
        ".SH FILES\n"
        ".TP\n.I ~/.cache/quintor/strategy\\-table.bin\n"
        "The table of perfect play (8 MiB), worked out once in a few seconds and shared with the game.\n"
        "A file that is damaged or is no regular file is worked out again; one that cannot be kept is said\n"
        "once on a terminal.\n"
        ".TP\n.I ~/.cache/quintor/ratings.json\n"
        "What the reviews of recorded games found, so that statistics are quick the next time.\n"
        ".TP\n.I ~/.local/share/quintor/games/\n"
        "The game records that\n.B \\-\\-stats\n"
        "reads by default: one JSON file per finished game, written by the game.\n"
        "The folders follow $XDG_CACHE_HOME and $XDG_DATA_HOME.\n"
        ".SH EXAMPLES\n"
        "Playing with real dice: Aces, Deuces and Chance are booked, Aces scored 3 and Deuces 6, and the\n"
        "first roll of the turn shows 5 5 3 1 5:\n"
        ".PP\n.RS\n.nf\n"
        "quintor\\-coach \\-\\-booked aces,deuces,chance \\-\\-upper 9 \\-\\-dice \"5 5 3 1 5\" \\-\\-rolls\\-left 2\n"
        ".fi\n.RE\n.PP\n"
        "How strong is the level Hard, over 10,000 seeded games:\n"
        ".PP\n.RS\n.nf\n"
        "quintor\\-coach \\-\\-simulate 10000 \\-\\-level hard \\-\\-seed 1\n"
        ".fi\n.RE\n"
        ".SH SEE ALSO\n"
        ".BR quintor (6)\n");
    return out;
}

// Quoted for a bash word list, one entry a line.
QString Shell(const QString &text)
{
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

QString Completion()
{
    QStringList names, rows;
    QString cases;
    for (const Option &o : coach::Options()) {
        names << QLatin1String(o.name);
        const QString name = QLatin1String(o.name);
        switch (o.kind) {
        case ValueKind::Level:
            cases += QStringLiteral("    %1) COMPREPLY=($(compgen -W 'easy medium hard perfect' -- \"$cur\")); return ;;\n").arg(name);
            break;
        case ValueKind::Rows:
            cases += QStringLiteral("    %1) _quintor_coach_rows; return ;;\n").arg(name);
            break;
        case ValueKind::File:
            cases += QStringLiteral("    %1) compopt -o filenames; COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n").arg(name);
            break;
        case ValueKind::Folder:
            cases += QStringLiteral("    %1) compopt -o filenames; COMPREPLY=($(compgen -d -- \"$cur\")); return ;;\n").arg(name);
            break;
        case ValueKind::Number:
        case ValueKind::Dice:
            cases += name == QLatin1String("--rolls-left")
                ? QStringLiteral("    %1) COMPREPLY=($(compgen -W '0 1 2' -- \"$cur\")); return ;;\n").arg(name)
                : QStringLiteral("    %1) return ;;\n").arg(name);
            break;
        case ValueKind::None:
            break;
        }
    }
    for (int row = 1; row <= 15; ++row)
        rows << QString::number(row);
    for (const QString &row : coach::RowNames())
        rows << Shell(row.section(u' ', 1).toLower());
    return QStringLiteral(
               "# bash completion for quintor-coach, generated from the coach's own options\n"
               "\n"
               "# Rows by number or name, after the last comma of the list typed so far.\n"
               "_quintor_coach_rows() {\n"
               "    local head= tail=$cur row\n"
               "    if [[ $cur == *,* ]]; then head=${cur%,*},; tail=${cur##*,}; fi\n"
               "    local rows=(%1)\n"
               "    COMPREPLY=()\n"
               "    for row in \"${rows[@]}\"; do\n"
               "        [[ ${row,,} == \"${tail,,}\"* ]] && COMPREPLY+=(\"$head${row// /\\\\ }\")\n"
               "    done\n"
               "}\n"
               "\n"
               "_quintor_coach() {\n"
               "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
               "    case $prev in\n"
               "%2"
               "    esac\n"
               "    COMPREPLY=($(compgen -W '%3 -h' -- \"$cur\"))\n"
               "}\n"
               "complete -F _quintor_coach quintor-coach\n")
        .arg(rows.join(u' '), cases, names.join(u' '));
}

} // namespace

int main(int argc, char **argv)
{
    const QString what = argc == 3 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (what != QLatin1String("man") && what != QLatin1String("bash")) {
        std::fprintf(stderr, "usage: gen_coach_docs man|bash FILE\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[2]));
    const QByteArray text = (what == QLatin1String("man") ? ManPage() : Completion()).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
        std::fprintf(stderr, "gen_coach_docs: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
