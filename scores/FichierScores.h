// The best-scores file "canalisor.txt": ten lines of windows-1252 text, a name line then a
// score line per entry, CR LF line ends. The tables read and written hold UTF-8, as the rest of
// the program does; the bytes are converted here and nowhere else.
#pragma once

#include <chrono>
#include <cstddef>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "Monde.h"

namespace canalisor {

// A line is kept up to this many bytes, the rest up to its CR is dropped: a damaged or hostile
// file then costs little memory.
inline constexpr std::size_t LongueurLigneMax = 4096;
// What FichierScores::Lire takes from a file at most. Ten lines of full length fit many times
// over; lines beyond this read as missing.
inline constexpr qint64 OctetsLusMax = 1 << 20;

// The five entries held in a file's bytes, in file order; lines after the tenth are ignored.
// A file whose first ten lines all end in CR LF is read as the game writes it: only CR LF ends
// a line, and a lone LF stays part of its line. Any other file was made by hand and is read
// as a person sees it: an LF, with any CRs just before it, ends a line, and so does each CR
// that no LF follows.
// An entry whose lines are missing, or whose score line is not a whole number in the 32-bit
// range, comes out as an empty name with score "0": a damaged file must not stop the game.
// Every byte reads as a character, so writing what was read gives back the same bytes.
TableScores LireScores(QByteArrayView octets);
// The ten lines of a table, each ending with CR LF, and nothing else. A character that
// windows-1252 cannot hold is written as '?'.
QByteArray EcrireScores(const TableScores& table);

// Writes all of `contenu` at the start of the open file `fd`; false, with errno set, when the
// system refuses.
bool EcrireTout(int fd, const QByteArray& contenu);

// Makes the new file `destination` (a path's bytes) a copy of the file `source`, whole or not
// at all: it is written unnamed and named last, never over anything that already has that name
// (a file, a folder, a link, even one that leads nowhere). Its mode is the source's, which its
// owner may always write. 0, or the errno that stopped it.
int CopierVersNouveauFichier(const QByteArray& source, const QByteArray& destination);

class FichierScores : public Palmares {
  public:
    // With `ecriture` false the file is only read: every update that would write it fails.
    explicit FichierScores(QString chemin, bool ecriture = true);

    bool Existe() override;
    std::optional<TableScores> Lire() override;
    // Under a lock on the file, which another copy's update waits for and which the system
    // releases when its holder ends, however it ends. Never creates the file: the
    // player must have made it, and a file gone since start-up is a failure to report, not a
    // reason to leave a new one behind. Never removes a file it did not make.
    bool MettreAJour(const Changement& changer) override;
    // Replaces the file's table whole, under the same lock.
    bool Ecrire(const TableScores& table);

    const QString& Chemin() const { return cheminFichier; }
    // How long an update waits for another copy's before it gives up and reports a failure.
    void AttenteVerrou(std::chrono::milliseconds attente) { attenteVerrou = attente; }

  protected:
    // Puts the new contents at the start of the open file `fd`. Tests make it fail the way a
    // full disk does.
    virtual bool EcrireContenu(int fd, const QByteArray& contenu);

  private:
    bool Remplacer(const QByteArray& contenu);
    bool RemplacerSurPlace(const QByteArray& cible, const QByteArray& contenu);

    QString cheminFichier;
    bool ecritureAutorisee;
    std::chrono::milliseconds attenteVerrou{5000};
};

} // namespace canalisor
