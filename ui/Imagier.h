// The loader of the board's pictures, which come from a folder the player may fill with anything.
#pragma once

#include <QHash>
#include <QPixmap>
#include <QSet>
#include <QString>

namespace canalisor::ui {

// "7b.bmp" -> "7b@2x.bmp": the same picture drawn at twice the size.
QString NomDouble(const QString& nom);
// The side of a tile in pixels: the picture area of a cell.
inline constexpr int CoteTuile = 79;

// Loads the pictures of the board from the program's folder. The folder is the player's to
// fill, so a file there may be anything: only regular files are opened (a FIFO would block
// for good), a picture more than four times the tile's side is refused before it is decoded,
// and one that does not decode whole is refused rather than shown half black. Each picture is
// decoded once and the same copy serves every cell that shows it, until the file changes.
// A file that is missing or refused is reported once per name; the cells then draw a stand-in.
// A missing "@2x" file is not: the plain one, enlarged, still shows the right piece.
class Imagier {
  public:
    explicit Imagier(QString dossier, int cote = CoteTuile) : dossier_(std::move(dossier)), cote_(cote) {}
    QPixmap Charger(const QString& nom, qreal ratio = 1);
    const QString& Dossier() const { return dossier_; }

  private:
    // What became of one file: shown, absent, or there but refused (and why).
    struct Lecture {
        QPixmap image;
        bool absente = false;
        QString refus;
    };
    // Tells one version of a file from the next, without opening it.
    struct Empreinte {
        quint64 appareil = 0, noeud = 0;
        qint64 taille = 0, modifiee = 0;
        bool operator==(const Empreinte&) const = default;
    };
    struct Memorisee {
        Empreinte empreinte;
        Lecture lecture;
    };
    Lecture Lire(const QString& nom, int densite);
    void Signaler(const QString& nom, const QString& raison);

    QString dossier_;
    int cote_;
    QHash<QString, Memorisee> lues_; // by name and density
    QSet<QString> signalees_;
};

} // namespace canalisor::ui
