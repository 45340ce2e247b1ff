// One game end against a best-scores file, as the program makes it, for the scripts that kill
// it or run it as several players at once:
//   ecrivain_scores FILE NAME SCORE   enters the score under the lock; exit status 0 when written
//   ecrivain_scores FILE              prints the five entries, best first, one "name score" a line
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include <QFile>

#include "Classement.h"
#include "FichierScores.h"

int main(int argc, char* argv[]) {
    // Marks, for a system call trace, where this program's own work begins.
    ::access("--debut-fin-de-partie--", F_OK);
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: ecrivain_scores FILE [NAME SCORE]\n");
        return 2;
    }
    canalisor::FichierScores fichier(QFile::decodeName(argv[1]));
    if (argc == 4) {
        const std::string nom = argv[2];
        const auto score = static_cast<std::int32_t>(std::atoi(argv[3]));
        return fichier.MettreAJour([&](const canalisor::TableScores& lu) -> std::optional<canalisor::TableScores> {
            canalisor::TableScores table = canalisor::ClasserScores(lu);
            if (!canalisor::InsererScore(table, nom, score))
                return std::nullopt;
            return table;
        }) ? 0 : 1;
    }
    const auto lu = fichier.Lire();
    if (!lu)
        return 1;
    for (const canalisor::EntreeScore& e : canalisor::ClasserScores(*lu))
        std::printf("%s %s\n", e.Nom.c_str(), e.Points.c_str());
    return 0;
}
