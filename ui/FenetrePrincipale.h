// The main window: the board, the next-pipe boxes, the counters, the two buttons and the
// menus. It holds no rule of the game: each event goes to its handler, which calls the game
// and then makes every caption, count and enabled state from the game's state.
#pragma once

#include <array>

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include "Controles.h"
#include "FenetreAPropos.h"
#include "FenetreRegles.h"
#include "FenetreScores.h"
#include "Jeu.h"

class QAction;
class QKeyEvent;
class QLabel;
class QMenu;

namespace canalisor::ui {

class FenetrePrincipale : public QMainWindow {
    Q_OBJECT
  public:
    // `chemin` is the program's folder with a trailing separator: the tiles are read from it.
    FenetrePrincipale(Hasard& hasard, Horloge& horloge, Dialogues& dialogues, Palmares& palmares,
                      QString chemin, QWidget* parent = nullptr);
    ~FenetrePrincipale() override;

    const Jeu& Modele() const { return jeu_; }
    // The tests and tools set up boards by hand, as they do on a game without a window.
    Jeu& Modele() { return jeu_; }
    CaseImage* Case(int index) const { return cases_.at(static_cast<std::size_t>(index)); }
    CaseImage* Bloc(int rang) const { return blocs_.at(static_cast<std::size_t>(rang)); }
    // The cell the keyboard lays on: the last one an arrow key or the mouse went to.
    int Curseur() const { return curseur_; }
    // The side windows, null until their command first shows them.
    FenetreScores* Scores() const { return scores_; }
    FenetreAPropos* APropos() const { return aPropos_; }
    FenetreRegles* Regles() const { return regles_; }

  public slots:
    // Start-up; false when the program must end (the player has been told why).
    bool Demarrer();
    void PoserTuyau(int cellule);
    void Tic();
    void BasculerPause();
    void OuvrirVannes();
    void NouvellePartie();
    void ArreterPartie();
    void ChoisirDifficulte(int difficulte);
    void MontrerScores();
    void MontrerRegles();
    void MontrerAPropos();
    void Quitter();
    // The whole screen for the board, or back to the window it was.
    void BasculerPleinEcran();
    // Makes the widgets show the game's state.
    void Rafraichir();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    // The board's keys reach the client area, which holds the keyboard.
    bool eventFilter(QObject* objet, QEvent* event) override;

  private:
    // Hands the game's boxes on to the real dialogs once the window shows the board that
    // caused them: the arrival must be seen filled behind "Félicitations!".
    class DialoguesFenetre : public Dialogues {
      public:
        DialoguesFenetre(FenetrePrincipale& fenetre, Dialogues& dialogues)
            : fenetre_(fenetre), dialogues_(dialogues) {}
        void Message(const std::string& texte, Icone icone) override;
        std::string Saisir(const std::string& invite) override;

      private:
        FenetrePrincipale& fenetre_;
        Dialogues& dialogues_;
    };

    // Hands the game's reads and writes on to the best-scores file, and shows a write at once
    // in the scores window when it is open.
    class PalmaresFenetre : public Palmares {
      public:
        PalmaresFenetre(FenetrePrincipale& fenetre, Palmares& palmares)
            : fenetre_(fenetre), palmares_(palmares) {}
        bool Existe() override { return palmares_.Existe(); }
        std::optional<TableScores> Lire() override { return palmares_.Lire(); }
        bool MettreAJour(const Changement& changer) override;

      private:
        FenetrePrincipale& fenetre_;
        Palmares& palmares_;
    };

    void ConstruireMenus();
    void ConstruireClient();
    void ConstruireRaccourcis();
    bool Touche(const QKeyEvent& touche);
    // `clavier`: the keyboard moved it, so its frame shows from now on.
    void PlacerCurseur(int index, bool clavier);
    QLabel* Label(const char* nom, QRect zone, const QString& texte, double points, Qt::Alignment alignement,
                  bool compteur, const QStringList& plusLongs = {}, bool enveloppe = false);
    template <class Fenetre, class... Arguments>
    void Montrer(QPointer<Fenetre>& fenetre, Arguments&... arguments);

    DialoguesFenetre relais_;
    PalmaresFenetre palmaresRelais_;
    Jeu jeu_;
    Palmares& palmares_;
    QString chemin_;
    Imagier imagier_;

    QLabel* labelNiveau_ = nullptr;
    QLabel* labelEssais_ = nullptr;
    QLabel* labelScore_ = nullptr;
    QLabel* labelRecord_ = nullptr;
    QLabel* labelDiff_ = nullptr;
    QLabel* labelTemps_ = nullptr;
    BoutonTexte* vannes_ = nullptr;
    BoutonTexte* pause_ = nullptr;
    std::array<CaseImage*, 3> blocs_{};
    std::array<CaseImage*, NombreCellules> cases_{};
    QAction* quitterPleinEcran_ = nullptr; // Escape, live in full screen only
    QMenu* menuDifficulte_ = nullptr;
    std::array<QAction*, 3> menusDifficulte_{}; // Facile, Moyen, Difficile
    int curseur_ = 0;
    // A player who never touches the keyboard never sees its cursor.
    bool clavierUtilise_ = false;

    // Windows of their own, not children: a child stays above the main window, which could then
    // never be brought over it. They close with the main window all the same.
    QPointer<FenetreScores> scores_;
    QPointer<FenetreAPropos> aPropos_;
    QPointer<FenetreRegles> regles_;
};

} // namespace canalisor::ui
