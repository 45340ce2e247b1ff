// One game end against a best-scores file, as the program makes it, for the scripts that kill
// it or run it as several players at once:
//   ecrivain_scores FILE NAME SCORE   enters the score under the lock; exit status 0 when written
//   ecrivain_scores FILE              prints the five entries, best first, one "name score" a line
#include <cstdio>
#include <cstdlib>

#include <unistd.h>

#include <QFile>

#include "Classement.h"
#include "FichierScores.h"

using namespace canalisor;

int main(int argc, char* argv[]) {
    // Marks, for a system call trace, where this program's own work begins.
    ::access("--debut-fin-de-partie--", F_OK);
    if (argc != 2 && argc != 4)
        return 2;
    FichierScores fichier(QFile::decodeName(argv[1]));
    if (argc == 4) {
        return fichier.MettreAJour([argv](const TableScores& lu) -> std::optional<TableScores> {
            TableScores table = ClasserScores(lu);
            if (!InsererScore(table, argv[2], std::atoi(argv[3])))
                return std::nullopt;
            return table;
        })
                   ? 0
                   : 1;
    }
    const auto lu = fichier.Lire();
    for (const EntreeScore& e : ClasserScores(lu.value_or(TableScores{})))
        std::printf("%s %s\n", e.Nom.c_str(), e.Points.c_str());
    return lu ? 0 : 1;
}
