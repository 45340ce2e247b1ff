#include "FichierScores.h"

#include <algorithm>
#include <utility>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace canalisor {

namespace {

constexpr std::size_t NombreLignes = 2 * std::tuple_size_v<TableScores>;

// Whether the first ten lines all end in CR LF, as every file the game writes does. Only
// then may a lone LF be part of a name: in any other file it is a line end a person put there.
bool EcritParLeJeu(QByteArrayView octets) {
    std::size_t fins = 0;
    for (qsizetype i = 0; i < octets.size() && fins < NombreLignes; ++i) {
        if (octets[i] != '\r')
            continue;
        if (i + 1 == octets.size() || octets[i + 1] != '\n')
            return false;
        ++fins;
        ++i;
    }
    return fins == NombreLignes;
}

// Cuts bytes into the first ten lines as they come, so that a file can be read a piece at a
// time and left as soon as its tenth line has ended.
class DecoupeLignes {
  public:
    explicit DecoupeLignes(bool ecritParLeJeu) : strict(ecritParLeJeu) {}

    // True once the tenth line has ended: the rest of the file does not matter.
    bool Ajouter(QByteArrayView octets) {
        for (const char c : octets) {
            if (ligne == NombreLignes)
                break;
            if (strict) {
                if (std::exchange(apresCR, false) && c == '\n')
                    continue;
                if (c == '\r') {
                    FinirLigne();
                    apresCR = true;
                } else {
                    Garder(c);
                }
            } else if (c == '\r') {
                // Whether these CRs end one line or one each is known at the next byte.
                ++crEnAttente;
            } else if (c == '\n') {
                crEnAttente = 0;
                FinirLigne();
            } else {
                for (; crEnAttente > 0; --crEnAttente)
                    FinirLigne();
                Garder(c);
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
    void FinirLigne() {
        if (ligne < NombreLignes)
            ++ligne;
    }
    void Garder(char c) {
        if (ligne == NombreLignes)
            return;
        if (lignes[ligne].size() < LongueurLigneMax)
            lignes[ligne].push_back(c);
        else
            coupees[ligne] = true;
    }

    std::array<std::string, NombreLignes> lignes;
    std::array<bool, NombreLignes> coupees{};
    std::size_t ligne = 0;
    std::size_t crEnAttente = 0;
    bool apresCR = false;
    const bool strict;
};

} // namespace

TableScores LireScores(QByteArrayView octets) {
    DecoupeLignes decoupe(EcritParLeJeu(octets));
    decoupe.Ajouter(octets);
    return decoupe.Table();
}

QByteArray EcrireScores(const TableScores& table) {
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
