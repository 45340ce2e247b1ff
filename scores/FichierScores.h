// The best-scores file "canalisor.txt": ten lines of windows-1252 text, a name line then a
// score line per entry, CR LF line ends. The tables read and written hold UTF-8, as the rest of
// the program does; the bytes are converted here and nowhere else.
#pragma once

#include <cstddef>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "Monde.h"

class QIODevice;

namespace canalisor {

// A line is kept up to this many bytes, the rest up to its CR is dropped: a damaged or hostile
// file then costs little memory.
inline constexpr std::size_t LongueurLigneMax = 4096;
// What FichierScores::Lire takes from a file at most. Ten lines of full length fit many times
// over; lines beyond this read as missing.
inline constexpr qint64 OctetsLusMax = 1 << 20;

// The five entries held in a file's bytes, in file order. A line ends at CR, an LF right after
// it goes with the line end, a lone LF is part of the line; lines after the tenth are ignored.
// An entry whose lines are missing, or whose score line is not a whole number in the 32-bit
// range, comes out as an empty name with score "0": a damaged file must not stop the game.
// Every byte reads as a character, so writing what was read gives back the same bytes.
TableScores LireScores(QByteArrayView octets);
// The ten lines of a table, each ending with CR LF, and nothing else. A character that
// windows-1252 cannot hold is written as '?'.
QByteArray EcrireScores(const TableScores& table);

class FichierScores : public Palmares {
  public:
    explicit FichierScores(QString chemin);

    bool Existe() override;
    std::optional<TableScores> Lire() override;
    // Never creates the file: the player must have made it, and a file gone since start-up is
    // a failure to report, not a reason to leave a new one behind.
    bool Ecrire(const TableScores& table) override;

    const QString& Chemin() const { return cheminFichier; }

  protected:
    // Puts the new contents into the temporary file that replaces the old one. Tests make it
    // fail the way a full disk does.
    virtual bool EcrireContenu(QIODevice& fichier, const QByteArray& contenu);

  private:
    QString cheminFichier;
};

} // namespace canalisor
