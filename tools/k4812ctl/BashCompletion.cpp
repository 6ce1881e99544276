#include "BashCompletion.h"

#include <QRegularExpression>

#include <algorithm>

namespace k4812::cli {

namespace {

QString words(QStringList list)
{
    list.removeDuplicates();
    return list.join(QLatin1Char(' '));
}

// A pattern of words as a case label: the blanks between words quoted, ''
// for no words.
QString casePattern(const QString& after)
{
    if (after.isEmpty())
        return QStringLiteral("''");
    QString pattern = after;
    return pattern.replace(QLatin1Char(' '), QLatin1String("\\ "));
}

} // namespace

VerbWords verbWordsFromUsage(const QString& verbName, const QString& usage)
{
    static const QRegularExpression plainWord(QStringLiteral("^[a-z][a-z0-9-]*$"));
    static const QRegularExpression option(QStringLiteral("^(--[a-z][a-z0-9-]*=?)"));
    VerbWords result;
    for (const QString& line : usage.split(QLatin1Char('\n'))) {
        const QStringList tokens = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (tokens.isEmpty() || tokens.first() != QLatin1String("k4812ctl"))
            continue;
        const qsizetype verbAt = tokens.indexOf(verbName);
        if (verbAt < 0)
            continue;
        for (qsizetype i = verbAt + 1; i < tokens.size(); ++i) {
            QString token = tokens[i];
            token.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
            const QRegularExpressionMatch match = option.match(token);
            if (match.hasMatch()) {
                result.options.append(match.captured(1));
                continue;
            }
            // Only the word right after the verb chooses what the verb does.
            if (i != verbAt + 1)
                continue;
            for (const QString& alternative : token.split(QLatin1Char('|'))) {
                if (plainWord.match(alternative).hasMatch())
                    result.subWords.append(alternative);
            }
        }
    }
    result.subWords.removeDuplicates();
    result.options.removeDuplicates();
    return result;
}

QString bashCompletionScript(const std::vector<Verb>& verbs)
{
    std::vector<Verb> listed;
    std::copy_if(verbs.begin(), verbs.end(), std::back_inserter(listed),
                 [](const Verb& v) { return v.summary != nullptr; });
    std::sort(listed.begin(), listed.end(), [](const Verb& a, const Verb& b) { return qstrcmp(a.name, b.name) < 0; });

    QStringList names;
    QString cases;
    for (const Verb& v : listed) {
        const QString name = QString::fromLatin1(v.name);
        names.append(name);
        const VerbWords w = verbWordsFromUsage(name, QString::fromUtf8(v.usage));
        const QString options = words(QStringList{QStringLiteral("--help")} + w.options);
        if (v.arguments == nullptr) {
            cases += QStringLiteral("        %1) subwords='%2'; options='%3' ;;\n").arg(name, words(w.subWords), options);
            continue;
        }
        cases += QStringLiteral("        %1) options='%2'; anywhere=1\n            case $args in\n").arg(name, options);
        for (const ArgumentWords& a : v.arguments())
            cases += QStringLiteral("            %1) subwords='%2' ;;\n").arg(casePattern(a.after), words(a.words));
        cases += QStringLiteral("            esac ;;\n");
    }

    // bash splits "--device=emu" into "--device", "=", "emu"; readline then
    // completes only the part after "=", so the answers are bare values.
    return QStringLiteral(
               "# bash completion for k4812ctl. Generated from its verb table by\n"
               "# 'k4812ctl completion bash'; do not edit.\n"
               "\n"
               "_k4812ctl()\n"
               "{\n"
               "    local cword=$COMP_CWORD cur=${COMP_WORDS[COMP_CWORD]} option=\n"
               "    if [[ $cur == = ]]; then\n"
               "        option=${COMP_WORDS[cword-1]}\n"
               "        cur=\n"
               "    elif (( cword > 1 )) && [[ ${COMP_WORDS[cword-1]} == = ]]; then\n"
               "        option=${COMP_WORDS[cword-2]}\n"
               "    fi\n"
               "    case $option in\n"
               "        --device) COMPREPLY=($(compgen -W 'hidraw emulator' -- \"$cur\")); return ;;\n"
               "        --trace) COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n"
               "        ?*) COMPREPLY=(); return ;;\n"
               "    esac\n"
               "\n"
               "    local verb= position=0 args= i word\n"
               "    for (( i = 1; i < cword; i++ )); do\n"
               "        word=${COMP_WORDS[i]}\n"
               "        if [[ $word == -* || $word == = || ${COMP_WORDS[i-1]} == = ]]; then\n"
               "            continue\n"
               "        elif [[ -z $verb ]]; then\n"
               "            verb=$word\n"
               "        else\n"
               "            (( position++ ))\n"
               "            args+=${args:+ }$word\n"
               "        fi\n"
               "    done\n"
               "\n"
               "    # A verb with a table of its arguments (anywhere=1) offers words\n"
               "    # after any of them; the others only right after the verb.\n"
               "    local subwords= options='--device= --trace= --help' anywhere=\n"
               "    if [[ -z $verb ]]; then\n"
               "        subwords='%1'\n"
               "    else\n"
               "        case $verb in\n"
               "%2"
               "        *) return ;;\n"
               "        esac\n"
               "        (( position == 0 )) || [[ -n $anywhere ]] || subwords=\n"
               "    fi\n"
               "    if [[ $cur == -* ]]; then\n"
               "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
               "        [[ ${COMPREPLY[0]-} == *= ]] && compopt -o nospace 2>/dev/null\n"
               "    elif [[ -n $subwords ]]; then\n"
               "        COMPREPLY=($(compgen -W \"$subwords\" -- \"$cur\"))\n"
               "    fi\n"
               "    return 0\n"
               "}\n"
               "complete -o default -F _k4812ctl k4812ctl\n")
        .arg(names.join(QLatin1Char(' ')), cases);
}

} // namespace k4812::cli
