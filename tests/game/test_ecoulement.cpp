// One flow step of a liquid on a board laid by hand: every piece entered from every side towards
// every piece, the neighbours on the board's edges, the crosses' two channels and the arrivals.
// The expected moves come from the rules written out in Regles.h, never from the game.
#include <sstream>

#include "MondeScripte.h"
#include "Regles.h"

using namespace canalisor;
using namespace canalisor::test;

namespace {

constexpr int P = 52; // row 3, column 7: every neighbour is on the board

// A world whose board stays empty until the test lays what it needs.
struct Banc : Monde {
    explicit Banc(int niveau = 3) { jeu.Etat().Niveau = static_cast<std::int16_t>(niveau); }
    Cellule& C(int i) { return jeu.Cellules()[static_cast<std::size_t>(i)]; }
    void Poser(int i, int code, const std::string& remplissage = "") {
        C(i) = {static_cast<std::int16_t>(code), remplissage, "", true};
    }
    Liquide& L(Couleur c) { return jeu.Etat()[c]; }
    // One flow step of the liquid, its front put at `front`, come from `depuis`.
    void Pas(const RegleDeLiquide& l, int front, int depuis) {
        const std::int16_t porte = L(l.couleur).Porte;
        L(l.couleur) = {.Position = static_cast<std::int16_t>(front),
                        .Precedent = static_cast<std::int16_t>(depuis),
                        .Porte = porte,
                        .Valide = true};
        jeu.Ecouler(l.couleur);
    }
};

// Whether the piece ahead takes a liquid moving towards side `sens`: only through its open side
// facing back, and only a pipe, or the liquid's own arrival or gate; leaving its departure or its
// gate, a pipe only.
bool Prend(int devant, Sens sens, const RegleDeLiquide& l, bool depuisAncre) {
    const bool piece = Piece(devant).tuyau || (!depuisAncre && (devant == l.arrivee || devant == l.porte));
    return piece && Ouvert(devant, Oppose(sens));
}

// The side a piece entered by side `entree` leads the liquid out by: straight on through a cross,
// its other open side otherwise; nothing when it is not open on that side.
std::optional<Sens> SortieDe(int piece, Sens entree) {
    if (!Ouvert(piece, entree))
        return std::nullopt;
    if (piece == Croix)
        return Oppose(entree);
    for (Sens s : TousLesSens)
        if (s != entree && Ouvert(piece, s))
            return s;
    return std::nullopt;
}

// The picture of a piece filled by the liquid: "5b.bmp", "10b.bmp", or for a cross the channel
// it fills, "8hb.bmp" or "8vb.bmp".
std::string ImageRemplie(int piece, const RegleDeLiquide& l, bool horizontal) {
    if (piece == Croix)
        return std::string("8") + (horizontal ? 'h' : 'v') + l.lettre + ".bmp";
    return std::to_string(piece) + l.lettre + ".bmp";
}
std::string RemplissageDe(int piece, const RegleDeLiquide& l, bool horizontal) {
    if (piece == Croix)
        return std::string(1, horizontal ? 'H' : 'V') + l.lettre;
    return "x";
}

struct Attendu {
    bool valide;
    int position;
    int precedent;
    std::string image;
    std::string remplissage;
    int score;
    bool operator==(const Attendu&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Attendu& a) {
    return os << (a.valide ? "flowing" : "overflowed") << ", front at " << a.position << " from "
              << a.precedent << ", front shows " << a.image << " filled \"" << a.remplissage << "\", score "
              << a.score;
}
Attendu Vu(Banc& banc, const RegleDeLiquide& l, int front) {
    const Liquide& liquide = banc.L(l.couleur);
    return {liquide.Valide,      liquide.Position,          liquide.Precedent,
            banc.C(front).Image, banc.C(front).Remplissage, banc.jeu.Etat().Score};
}

} // namespace

// Rule: the liquid leaves a piece by its other open side (straight on through a cross) and moves
// on only when the piece ahead is open towards it and may take it; else it overflows. Every
// liquid, every piece at the front (each pipe, its departure, its gate), entered from every side,
// towards every piece code. The filled front scores one point either way.
TEST(Ecoulement, ChaquePieceDeChaqueCoteVersChaquePiece) {
    for (const RegleDeLiquide& l : Liquides) {
        std::vector<std::int16_t> fronts{DroitH,  DroitV, CoudeDB,  CoudeGB, CoudeGH,
                                         CoudeDH, Croix,  l.depart, l.porte};
        for (std::int16_t front : fronts) {
            const bool depart = front == l.depart;
            // A departure is where the liquid starts: it enters by no side and leaves by the right.
            std::vector<std::optional<Sens>> entrees{std::nullopt};
            if (!depart)
                entrees.assign(TousLesSens.begin(), TousLesSens.end());
            for (std::optional<Sens> entree : entrees) {
                const std::optional<Sens> sortie = depart ? Sens::Droite : SortieDe(front, *entree);
                // A piece that does not fit its entry side overflows whatever lies ahead.
                const int dernier = sortie ? PorteJaune : Vide;
                for (int devant = Vide; devant <= dernier; ++devant)
                    for (bool rempli : {false, true}) {
                        std::ostringstream cas;
                        cas << "the " << l.nom << " liquid in " << NomPiece(front);
                        if (entree)
                            cas << " entered by its " << Nom(*entree) << " side";
                        if (sortie)
                            cas << ", " << (rempli ? "filled " : "") << NomPiece(devant) << " ahead on the "
                                << Nom(*sortie);
                        SCOPED_TRACE(cas.str());

                        Banc banc;
                        banc.Poser(P, front);
                        // Every other neighbour holds an empty cross, which would take the liquid from any
                        // side.
                        for (Sens s : TousLesSens)
                            banc.Poser(*CaseVers(P, s), s == sortie ? devant : Croix);
                        if (sortie && rempli) // a cross filled both ways
                            banc.Poser(*CaseVers(P, *sortie), devant, devant == Croix ? "HrVr" : "x");
                        const int avant = entree ? *CaseVers(P, *entree) : P;
                        if (entree)
                            banc.Poser(avant, DroitH, "x");
                        banc.Pas(l, P, avant);

                        const bool horizontal = !entree || Horizontal(*entree);
                        Attendu attendu{false,
                                        P,
                                        avant,
                                        ImageRemplie(front, l, horizontal),
                                        RemplissageDe(front, l, horizontal),
                                        1};
                        const char* regle = "a piece not open on the side the liquid came in by overflows";
                        if (sortie)
                            regle = "the piece ahead is closed towards the liquid, filled or may not take "
                                    "it: it overflows";
                        if (sortie && !rempli && Prend(devant, *sortie, l, depart || front == l.porte)) {
                            regle = "the piece ahead is open towards the liquid and takes it";
                            attendu.valide = true;
                            attendu.position = *CaseVers(P, *sortie);
                            attendu.precedent = P;
                        }
                        EXPECT_EQ(Vu(banc, l, P), attendu) << "rule: " << regle;
                    }
            }
        }
    }
}

// Rule: the neighbour through a side is the cell one step that way, or none past the board's edge
// or the row's end (the first cell of the next row is not "right" of the last column). Every cell,
// every side, against the row and column arithmetic of Regles.h.
TEST(Plateau, LeVoisinEstLaCaseDUnPasDeCeCote) {
    constexpr Direction directions[]{Direction::Gauche, Direction::Droite, Direction::Haut, Direction::Bas};
    for (int i = 0; i < CasesDuPlateau; ++i)
        for (Sens s : TousLesSens)
            EXPECT_EQ(Voisin(i, directions[static_cast<int>(s)]), CaseVers(i, s))
                << "cell " << i << " (row " << LigneDe(i) << ", column " << ColonneDe(i) << "), " << Nom(s);
    // The same row, by floor division: -1 is not on cell 0's row, nor 120 on cell 119's.
    EXPECT_FALSE(MemeLigne(14, 15));
    EXPECT_TRUE(MemeLigne(15, 29));
    EXPECT_FALSE(MemeLigne(0, -1));
    EXPECT_FALSE(MemeLigne(119, 120));
}

// Rule: a cross has two channels that do not meet; each takes any liquid once, and a filled channel
// takes nothing more. Its fill names the channels in the order they were filled, its picture the
// horizontal colour first ("8hbvr.bmp"), or the one colour in both ("8b.bmp"). Every pair of
// liquids, in both orders.
TEST(Ecoulement, UneCroixPrendDeuxLiquidesUnParCanal) {
    for (const RegleDeLiquide& premier : Liquides)
        for (const RegleDeLiquide& second : Liquides)
            for (bool horizontalDAbord : {true, false}) {
                SCOPED_TRACE(testing::Message()
                             << "the " << premier.nom << " liquid through the "
                             << (horizontalDAbord ? "horizontal" : "vertical") << " channel, then the "
                             << second.nom << " liquid through the other");
                Banc banc;
                for (Sens s : TousLesSens)
                    banc.Poser(*CaseVers(P, s), Croix);
                banc.Poser(P, Croix);
                const int gauche = P - 1;
                const int haut = P - ColonnesDuPlateau;
                banc.Pas(premier, P, horizontalDAbord ? gauche : haut);
                EXPECT_EQ(banc.C(P).Image,
                          std::string(horizontalDAbord ? "8h" : "8v") + premier.lettre + ".bmp");
                // The second liquid, one cell before the cross, moving into the filled channel.
                banc.Pas(second, horizontalDAbord ? gauche : haut, horizontalDAbord ? gauche - 1 : haut - 15);
                EXPECT_FALSE(banc.L(second.couleur).Valide) << "a filled channel takes nothing more";
                banc.Pas(second, P, horizontalDAbord ? haut : gauche);

                const RegleDeLiquide& h = horizontalDAbord ? premier : second;
                const RegleDeLiquide& v = horizontalDAbord ? second : premier;
                std::string image = std::string("8h") + h.lettre + "v" + v.lettre + ".bmp";
                if (h.couleur == v.couleur)
                    image = std::string("8") + h.lettre + ".bmp";
                const std::string partiePremier =
                    std::string(1, horizontalDAbord ? 'H' : 'V') + premier.lettre;
                const std::string partieSecond = std::string(1, horizontalDAbord ? 'V' : 'H') + second.lettre;
                EXPECT_EQ(banc.C(P).Image, image);
                EXPECT_EQ(banc.C(P).Remplissage, partiePremier + partieSecond);
                // Each goes straight on.
                EXPECT_EQ(banc.L(second.couleur).Position, horizontalDAbord ? P + ColonnesDuPlateau : P + 1);
                EXPECT_TRUE(banc.L(second.couleur).Valide);
            }
}

// Rule: filling its arrival ends a liquid's run; on a level that lays its gate, the run fails
// unless the gate was filled. Once arrived, later steps neither score nor move. Every liquid on
// every level it plays.
TEST(Ecoulement, UneArriveeCompteSiLaPorteDuNiveauEstPassee) {
    constexpr int CasePorte = 80;
    for (const RegleDeLiquide& l : Liquides)
        for (int niveau = l.premierNiveau; niveau <= 15; ++niveau)
            for (bool portePassee : {false, true}) {
                SCOPED_TRACE(testing::Message()
                             << "the " << l.nom << " liquid arriving on level " << niveau
                             << (portePassee ? " with" : " without") << " its gate filled");
                Banc banc(niveau);
                banc.Poser(P, l.arrivee);
                banc.Poser(P - 1, DroitH, "x");
                banc.Poser(CasePorte, l.porte, portePassee ? "x" : "");
                banc.L(l.couleur).Porte = CasePorte;
                banc.Pas(l, P, P - 1);
                const bool reussi = portePassee || !NiveauAPorte(niveau, l);
                const std::string image = std::to_string(l.arrivee) + l.lettre + ".bmp";
                EXPECT_EQ(Vu(banc, l, P), (Attendu{reussi, P, P - 1, image, "x", 1}));
                EXPECT_TRUE(banc.L(l.couleur).Arrive);
                banc.jeu.Ecouler(l.couleur);
                EXPECT_EQ(Vu(banc, l, P), (Attendu{reussi, P, P - 1, image, "x", 1}))
                    << "a step after arriving";
            }
}

// Rule: within a tick the liquids flow in turn, blue, red, green, yellow: a cross that blue enters
// across and red enters downwards in the same tick holds blue's part first.
TEST(Ecoulement, UnTicFaitCoulerLesLiquidesDansLOrdre) {
    Banc banc;
    banc.Poser(P, Croix);
    banc.Poser(P - 1, DroitH, "x");
    banc.Poser(P + 1, DroitH);
    banc.Poser(P - ColonnesDuPlateau, DroitV, "x");
    banc.Poser(P + ColonnesDuPlateau, DroitV);
    banc.L(Couleur::Bleu) = {P, P - 1, 0, 0, 0, true, false};
    banc.L(Couleur::Rouge) = {P, P - ColonnesDuPlateau, 0, 0, 0, true, false};
    banc.jeu.Etat().Temps = 1;
    banc.jeu.Etat().HorlogeEnMarche = true;
    banc.jeu.Tic();
    EXPECT_EQ(banc.C(P).Remplissage, "HbVr");
    EXPECT_EQ(banc.L(Couleur::Bleu).Position, P + 1);
    EXPECT_EQ(banc.L(Couleur::Rouge).Position, P + ColonnesDuPlateau);
}
