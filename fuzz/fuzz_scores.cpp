// The best-scores path a game takes when it ends, fed with any bytes as the file: read the
// five entries, rank them, enter a new score, write the ten lines and read them back.
//
// Why the round trip must give back the same table: a line read from a file never holds a
// CR (a CR is what ends it) and is at most LongueurLigneMax bytes long, and a score text only
// survives reading when LireNombre takes it, so everything LireScores hands out is something
// EcrireScores can write and LireScores read again unchanged (every byte reads as a character
// that writes back as that byte). The entered name is held to the same rules (the game itself
// turns CR and LF in a typed name into spaces); a name with a CR would rightly come back as two
// lines, and that is not a fault of the file code.
//
// The same bytes are also read from a real file, pushed across the reader's 4096-byte chunks,
// and must give what reading them in one piece gives.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <QFile>
#include <QTemporaryDir>

#include "Classement.h"
#include "FichierScores.h"
#include "Texte1252.h"

using namespace canalisor;

namespace {

[[noreturn]] void Echec(const char* regle) {
    std::fprintf(stderr, "fuzz_scores: %s\n", regle);
    std::abort();
}

void Exiger(bool vrai, const char* regle) {
    if (!vrai)
        Echec(regle);
}

// Entries as (name, value) pairs, in a fixed order: ranking may move entries and rewrite a
// score's text, but it must neither lose nor invent an entry.
std::vector<std::pair<std::string, std::int32_t>> Contenu(const TableScores& table) {
    std::vector<std::pair<std::string, std::int32_t>> paires;
    for (const EntreeScore& e : table)
        paires.emplace_back(e.Nom, ValeurScore(e.Points));
    std::sort(paires.begin(), paires.end());
    return paires;
}

bool Classee(const TableScores& table) {
    for (std::size_t k = 1; k < table.size(); ++k)
        if (ValeurScore(table[k - 1].Points) < ValeurScore(table[k].Points))
            return false;
    return true;
}

// What the game writes: exactly ten lines, each ending in CR LF, no other CR.
void VerifierEcrit(const QByteArray& octets) {
    Exiger(octets.count('\r') == 10 && octets.count("\r\n") == 10 && octets.endsWith("\r\n"),
           "written file is not ten CR LF lines");
}

void VerifierAllerRetour(const TableScores& table) {
    const QByteArray octets = EcrireScores(table);
    VerifierEcrit(octets);
    Exiger(LireScores(octets) == table, "table read back differs from the one written");
}

std::int32_t Borne(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// The scores worth entering are those around each place's score (equal goes below, one more
// goes above), the extremes, and four bytes of the input taken as they are.
std::vector<std::int32_t> ScoresAEssayer(const TableScores& classe, const std::uint8_t* data,
                                         std::size_t taille) {
    std::vector<std::int32_t> scores{0, 1, std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max()};
    for (const EntreeScore& e : classe) {
        const std::int64_t v = ValeurScore(e.Points);
        scores.insert(scores.end(), {Borne(v - 1), Borne(v), Borne(v + 1)});
    }
    if (taille >= 4) {
        std::uint32_t brut = 0;
        for (std::size_t i = taille - 4; i < taille; ++i)
            brut = brut << 8 | data[i];
        scores.push_back(static_cast<std::int32_t>(brut));
    }
    return scores;
}

// The name a player would type: the input's last bytes as windows-1252 characters, without CR,
// within a line's length.
std::string NomSaisi(const std::uint8_t* data, std::size_t taille) {
    const std::size_t debut = taille > 40 ? taille - 40 : 0;
    std::string nom(reinterpret_cast<const char*>(data) + debut, taille - debut);
    std::erase(nom, '\r');
    return nom.empty() ? "Jules" : De1252(nom);
}

// Any bytes are a windows-1252 text that comes back byte for byte; taken for UTF-8, which they
// seldom are, they still give one byte for each character or stray byte, and never more.
void VerifierEncodage(std::string_view octets) {
    Exiger(Vers1252(De1252(octets)) == octets, "windows-1252 bytes do not come back from UTF-8");
    Exiger(Vers1252(octets).size() <= octets.size(), "a UTF-8 text grew when encoded");
}

void VerifierInsertion(const TableScores& classe, const std::string& nom, std::int32_t score) {
    TableScores table = classe;
    const auto place = PlaceScore(classe, score);
    Exiger(InsererScore(table, nom, score) == place, "InsererScore and PlaceScore disagree");
    if (!place) {
        Exiger(table == classe, "a score that does not enter changed the table");
        Exiger(score <= ValeurScore(classe[4].Points), "a score above place 5 was refused");
        return;
    }
    const auto p = static_cast<std::size_t>(*place);
    Exiger(table[p] == EntreeScore{nom, std::to_string(score)}, "entered entry is not at its place");
    Exiger(score > ValeurScore(classe[p].Points), "entered score not above the entry it displaced");
    Exiger(p == 0 || score <= ValeurScore(classe[p - 1].Points), "entered score above a better one");
    for (std::size_t k = 0; k < table.size(); ++k) {
        if (k < p)
            Exiger(table[k] == classe[k], "an entry above the new one moved");
        else if (k > p)
            Exiger(table[k] == classe[k - 1], "an entry below the new one did not move down one place");
    }
    Exiger(Classee(table), "table not ranked after entering a score");
    VerifierAllerRetour(table);
}

// The file reader takes a file 4096 bytes at a time; a CR at the end of one piece and its LF
// at the start of the next must go together as in a single read.
class Fichier {
  public:
    Fichier() : dossier(std::make_unique<QTemporaryDir>()) {
        Exiger(dossier->isValid(), "no temporary directory");
        chemin = dossier->filePath("canalisor.txt");
    }
    void Verifier(const QByteArray& octets) {
        QFile f(chemin);
        Exiger(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(octets) == octets.size(),
               "cannot write the temporary file");
        f.close();
        Exiger(FichierScores(chemin).Lire() == LireScores(octets), "file read differs from the bytes read");
    }

  private:
    std::unique_ptr<QTemporaryDir> dossier;
    QString chemin;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t taille) {
    const QByteArrayView octets(data, static_cast<qsizetype>(taille));
    VerifierEncodage(std::string_view(reinterpret_cast<const char*>(data), taille));
    const TableScores lu = LireScores(octets);
    VerifierAllerRetour(lu);

    const TableScores classe = ClasserScores(lu);
    Exiger(Classee(classe), "ranking is not best first");
    Exiger(Contenu(classe) == Contenu(lu), "ranking lost or changed an entry");
    VerifierAllerRetour(classe);

    const std::string nom = NomSaisi(data, taille);
    for (const std::int32_t score : ScoresAEssayer(classe, data, taille))
        VerifierInsertion(classe, nom, score);

    // Puts the middle of the input on the boundary of the reader's first chunk.
    static Fichier fichier;
    const auto decalage = static_cast<qsizetype>(4096 - taille / 2);
    fichier.Verifier(QByteArray(decalage, 'x') + octets.toByteArray());
    return 0;
}
