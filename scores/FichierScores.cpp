#include "FichierScores.h"

#include <algorithm>
#include <utility>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "Texte1252.h"

namespace canalisor {

namespace {

constexpr std::size_t NombreLignes = 2 * std::tuple_size_v<TableScores>;

// Cuts bytes into the first ten lines as they come, so that a file can be read a piece at a
// time and left as soon as its tenth line has ended.
class DecoupeLignes {
  public:
    // A file with no CR at all was written with LF line ends (by hand, on another system):
    // its LFs end lines, or every score in it would be lost at the next write.
    explicit DecoupeLignes(bool lfFinit) : finsLF(lfFinit) {}

    // True once the tenth line has ended: the rest of the file does not matter.
    bool Ajouter(QByteArrayView octets) {
        for (const char c : octets) {
            if (ligne == NombreLignes)
                break;
            if (std::exchange(apresCR, false) && c == '\n')
                continue;
            if (c == '\r' || (finsLF && c == '\n')) {
                ++ligne;
                apresCR = true;
            } else if (lignes[ligne].size() < LongueurLigneMax) {
                lignes[ligne].push_back(c);
            } else {
                coupees[ligne] = true;
            }
        }
        return ligne == NombreLignes;
    }

    // A line the file never reached is empty, like an empty line.
    TableScores Table() const {
        TableScores table;
        for (std::size_t k = 0; k < table.size(); ++k) {
            const std::size_t nom = 2 * k;
            const std::size_t points = nom + 1;
            // A cut score line could have lost digits, so its value is unknown.
            if (!coupees[points] && LireNombre(lignes[points]))
                table[k] = {lignes[nom], lignes[points]};
            else
                table[k] = {"", "0"};
        }
        return table;
    }

  private:
    std::array<std::string, NombreLignes> lignes;
    std::array<bool, NombreLignes> coupees{};
    std::size_t ligne = 0;
    bool apresCR = false;
    bool finsLF;
};

} // namespace

TableScores LireScores(QByteArrayView octets) {
    DecoupeLignes decoupe(!octets.contains('\r'));
    decoupe.Ajouter(octets);
    TableScores table = decoupe.Table();
    for (EntreeScore& entree : table)
        entree = {De1252(entree.Nom), De1252(entree.Points)};
    return table;
}

QByteArray EcrireScores(const TableScores& texte) {
    TableScores table = texte;
    for (EntreeScore& entree : table)
        entree = {Vers1252(entree.Nom), Vers1252(entree.Points)};
    QByteArray octets;
    const auto ajouterLigne = [&octets](const std::string& ligne) {
        octets.append(ligne.data(), static_cast<qsizetype>(ligne.size()));
        octets.append("\r\n");
    };
    for (const EntreeScore& entree : table) {
        ajouterLigne(entree.Nom);
        ajouterLigne(entree.Points);
    }
    return octets;
}

FichierScores::FichierScores(QString chemin) : cheminFichier(std::move(chemin)) {}

bool FichierScores::Existe() {
    return QFileInfo(cheminFichier).isFile();
}

std::optional<TableScores> FichierScores::Lire() {
    if (!Existe())
        return std::nullopt;
    QFile fichier(cheminFichier);
    if (!fichier.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Ten lines of any sane length fit in the first OctetsLusMax bytes; a huge or endless file
    // costs no more than that.
    const QByteArray debut = fichier.read(OctetsLusMax);
    if (fichier.error() != QFileDevice::NoError)
        return std::nullopt;
    return LireScores(debut);
}

bool FichierScores::Ecrire(const TableScores& table) {
    if (!Existe())
        return false;
    // The new contents go to a temporary file beside the old one, renamed over it only once
    // complete: a crash or a full disk leaves the old file as it was.
    QSaveFile fichier(cheminFichier);
    if (!fichier.open(QIODevice::WriteOnly))
        return false;
    // QSaveFile buffers: a disk that refuses the bytes is only seen at the flush, and commit()
    // would rename the short temporary file over the old one regardless.
    if (!EcrireContenu(fichier, EcrireScores(table)) || !fichier.flush()) {
        fichier.cancelWriting();
        return false;
    }
    return fichier.commit();
}

bool FichierScores::EcrireContenu(QIODevice& fichier, const QByteArray& contenu) {
    return fichier.write(contenu) == contenu.size();
}

} // namespace canalisor
