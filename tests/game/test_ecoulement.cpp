// One flow step of a liquid on a board laid by hand.
#include "MondeScripte.h"

using namespace canalisor;

namespace {

constexpr int P = 52; // row 3, column 7: every neighbour is on the board

// A world whose board stays empty until the test lays what it needs.
struct Banc : test::Monde {
    explicit Banc(int niveau = 3) { jeu.Etat().Niveau = static_cast<std::int16_t>(niveau); }
    Cellule& C(int i) { return jeu.Cellules()[static_cast<std::size_t>(i)]; }
    void Poser(int i, int code, const char* fill = "") {
        C(i) = {static_cast<std::int16_t>(code), fill, "", true};
    }
    Liquide& L(Couleur c = Couleur::Bleu) { return jeu.Etat()[c]; }
    // One flow step of c, its front put at p, come from `depuis`.
    void Pas(int p, int depuis, Couleur c = Couleur::Bleu) {
        L(c) = {
            static_cast<std::int16_t>(p), static_cast<std::int16_t>(depuis), 0, 0, L(c).Passage, true, false};
        jeu.Remplissage(c);
    }
};

} // namespace

TEST(Ecoulement, ChaqueTuyauParChaqueCoteDEntree) {
    // Pipe `code` at cell p entered from p + depuis: the liquid goes on to p + vers, or overflows
    // (vers 0). Every other neighbour holds a cross, which would take it from any side. First the
    // ways out that would leave the row or the board; then each pipe 2..8 at P, with where it leads
    // the liquid come from the left, right, top, bottom.
    std::vector<std::array<int, 4>> cas{{2, 14, -1, 0}, {8, 15, 1, 0}, {3, 112, -15, 0}, {8, 7, 15, 0}};
    const int cotes[4]{-1, 1, -15, 15},
        sorties[7][4]{{1, -1, 0, 0},   {0, 0, 15, -15}, {0, 15, 0, 1},   {15, 0, 0, -1},
                      {-15, 0, -1, 0}, {0, -15, 1, 0},  {1, -1, 15, -15}};
    for (int k = 0; k < 28; ++k)
        cas.push_back({k / 4 + 2, P, cotes[k % 4], sorties[k / 4][k % 4]});
    for (auto [code, p, depuis, vers] : cas) {
        SCOPED_TRACE(testing::Message() << "piece " << code << " at " << p << " from " << p + depuis);
        Banc banc;
        banc.Poser(p, code);
        for (int d : cotes)
            if (p + d >= 0 && p + d < NombreCellules)
                banc.Poser(p + d, d == depuis ? DroitH : Croix, d == depuis ? "x" : "");
        banc.Pas(p, p + depuis);
        const Liquide& l = banc.L();
        const std::string canal = code < Croix ? "" : depuis % 15 ? "h" : "v"; // a cross fills one channel
        // The cell is scored even when the liquid overflows from it.
        EXPECT_EQ(std::tie(l.Valide, l.Position, l.Precedent, banc.jeu.Etat().Score, banc.C(p).Image),
                  std::make_tuple(vers != 0, p + vers, vers ? p : p + depuis, 1,
                                  std::to_string(code) + canal + "b.bmp"));
    }
}

TEST(Ecoulement, CeQueLaCaseSuivanteAccepte) {
    // The blue front at P: a straight pipe (2, 3) entered so that it leaves towards P + sens, the
    // departure (9) or the gate (11). The cell ahead, filled with `fill`, takes the liquid when its
    // code (0..20) is marked in `prend`: leaving a departure or a gate, the liquid may only enter a pipe.
    const std::tuple<int, int, const char*, std::string_view> cas[]{
        {2, 1, "", "  x  xx x xx"}, {2, -1, "", "  x x  xx  x"},
        {3, 15, "", "   x  xxx"},   {3, -15, "", "   xxx  x"},
        {9, 1, "", "  x  xx x"},    {11, 1, "", "  x  xx x"},
        {11, -1, "", "  x x  xx"},  {2, 1, "Hr", ""},
        {2, 1, "Vr", "        x"},  {3, 15, "Hb", "        x"}};
    for (const auto& [front, sens, fill, prend] : cas)
        for (int code = Vide; code <= 20; ++code) {
            SCOPED_TRACE(testing::Message() << front << " towards " << sens << ": " << code << fill);
            Banc banc;
            banc.Poser(P, front);
            banc.Poser(P + sens, code, fill);
            banc.Pas(P, front == 9 ? P : P - sens);
            const bool accepte = code < std::ssize(prend) && prend[code] == 'x';
            EXPECT_EQ(std::tie(banc.L().Valide, banc.L().Position),
                      std::make_tuple(accepte, accepte ? P + sens : P));
        }
}

TEST(Ecoulement, LesCroisementsRemplissentDeuxCanauxDansLesDeuxOrdres) {
    // Two flow steps into the cross at P, each of a liquid coming from a side (-1 left, 1 right, -15
    // top). Beside the cross lie filled pipes, so a liquid going across overflows; above and below,
    // crosses. Then the cross's picture and fill, where each liquid flows on ('-' overflowed), the score.
    using C = Couleur;
    const std::tuple<C, int, C, int, std::string> cas[]{
        {C::Rouge, -15, C::Bleu, -1, "8hbvr.bmp VrHb 67 - 2"},
        {C::Bleu, -1, C::Rouge, -15, "8hbvr.bmp HbVr - 67 2"},
        {C::Bleu, -15, C::Bleu, -1, "8b.bmp VbHb - - 2"},
        // Two liquids entering one channel in the same tick (blue flows first): both overflow.
        {C::Bleu, -1, C::Rouge, 1, "8hr.bmp Hr - - 2"}};
    for (const auto& [premiere, depuis1, seconde, depuis2, attendu] : cas) {
        Banc banc;
        for (int i : {P, P - 15, P + 15})
            banc.Poser(i, Croix);
        banc.Poser(P - 1, DroitH, "x");
        banc.Poser(P + 1, DroitH, "x");
        banc.Pas(P, P + depuis1, premiere);
        banc.Pas(P, P + depuis2, seconde);
        std::string vu = banc.C(P).Image + " " + banc.C(P).DataField;
        for (C c : {premiere, seconde})
            vu += banc.L(c).Valide ? " " + std::to_string(banc.L(c).Position) : " -";
        EXPECT_EQ(vu + " " + std::to_string(banc.jeu.Etat().Score), attendu);
    }
}

TEST(Ecoulement, LArriveeNeReussitQueParLaPorteSurLesNiveauxQuiEnOnt) {
    // Level, fill of the gate cell, whether the arrival counts; once arrived, a later step neither
    // scores nor moves.
    for (auto [niveau, porte, valide] :
         {std::tuple{4, "", false}, {4, "x", true}, {3, "", true}, {15, "", false}}) {
        SCOPED_TRACE(testing::Message() << "level " << niveau << ", gate '" << porte << "'");
        Banc banc(niveau);
        banc.Poser(P, 10);
        banc.Poser(80, 11, porte);
        banc.L().Passage = 80;
        banc.Pas(P, P - 1);
        banc.jeu.Remplissage(Couleur::Bleu);
        EXPECT_EQ(std::tie(banc.L().Arrive, banc.L().Valide, banc.C(P).Image, banc.jeu.Etat().Score,
                           banc.L().Position),
                  std::make_tuple(true, valide, "10b.bmp", 1, P));
    }
}
