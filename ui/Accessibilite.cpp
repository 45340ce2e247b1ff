#include "Accessibilite.h"

#include <array>
#include <unordered_map>

#include <QAccessible>
#include <QAccessibleWidget>

#include "Controles.h"

namespace canalisor::ui {

namespace {

// The catalogue names every picture with the piece and the liquids it shows.
const Tuile* TuileNommee(const std::string& nom) {
    static const std::unordered_map<std::string, const Tuile*> index = [] {
        std::unordered_map<std::string, const Tuile*> tuiles;
        for (const Tuile& tuile : CatalogueTuiles())
            tuiles.emplace(tuile.Nom, &tuile);
        return tuiles;
    }();
    const auto trouvee = index.find(nom);
    return trouvee == index.end() ? nullptr : trouvee->second;
}

QString NomCouleur(Couleur c) {
    return QString::fromUtf8(Description(c).Nom);
}

QString Decrire(const Tuile& tuile) {
    QString texte = NomPiece(tuile.Code);
    if (tuile.Horizontal)
        texte += QStringLiteral(", canal horizontal rempli de ") + NomCouleur(*tuile.Horizontal);
    if (tuile.Vertical)
        texte += QStringLiteral(", canal vertical rempli de ") + NomCouleur(*tuile.Vertical);
    if (tuile.Remplissage)
        texte += QStringLiteral(", rempli de ") + NomCouleur(*tuile.Remplissage);
    return texte;
}

// A cell of the board is a button, pressed as a click presses it. The keyboard's cursor stands
// for the focus inside the board, which itself holds the keyboard.
class AccessibleCase : public QAccessibleWidget {
  public:
    explicit AccessibleCase(CaseImage* c)
        : QAccessibleWidget(c, c->Cliquable() ? QAccessible::Button : QAccessible::Graphic) {}

    QAccessible::State state() const override {
        QAccessible::State etat = QAccessibleWidget::state();
        const CaseImage* c = Case();
        if (c->Cliquable()) {
            etat.focusable = true;
            etat.focused = c->EstCurseur() && c->parentWidget() && c->parentWidget()->hasFocus();
        }
        return etat;
    }

    QStringList actionNames() const override {
        QStringList actions = QAccessibleWidget::actionNames();
        if (Case()->Cliquable())
            actions.prepend(pressAction());
        return actions;
    }

    void doAction(const QString& action) override {
        if (action == pressAction() && Case()->Cliquable())
            Case()->Activer();
        else
            QAccessibleWidget::doAction(action);
    }

  private:
    CaseImage* Case() const { return static_cast<CaseImage*>(widget()); }
};

class AccessibleCompteur : public QAccessibleWidget {
  public:
    explicit AccessibleCompteur(Compteur* c) : QAccessibleWidget(c, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return static_cast<const Compteur*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* Fabrique(const QString& classe, QObject* objet) {
    if (classe == QLatin1String(CaseImage::staticMetaObject.className()))
        return new AccessibleCase(static_cast<CaseImage*>(objet));
    if (classe == QLatin1String(Compteur::staticMetaObject.className()))
        return new AccessibleCompteur(static_cast<Compteur*>(objet));
    return nullptr;
}

} // namespace

QString NomPiece(int code) {
    static const std::array<const char*, 9> pieces{
        "case vide",        "obstacle",          "tuyau horizontal",  "tuyau vertical", "coude droite-bas",
        "coude gauche-bas", "coude gauche-haut", "coude droite-haut", "croisement",
    };
    if (code >= 0 && code < static_cast<int>(pieces.size()))
        return QString::fromUtf8(pieces[static_cast<std::size_t>(code)]);
    if (const auto couleur = CouleurDuCode(code)) {
        static const std::array<const char*, 3> ancres{"départ", "arrivée", "porte"};
        return QString::fromUtf8(ancres[static_cast<std::size_t>((code - 9) % 3)]) +
               QStringLiteral(" du liquide ") + NomCouleur(*couleur);
    }
    return QStringLiteral("pièce %1").arg(code);
}

QString ContenuCase(const Cellule& cellule) {
    if (const Tuile* tuile = TuileNommee(cellule.Image))
        return Decrire(*tuile);
    return NomPiece(cellule.Piece);
}

QString NomCase(int index, const Cellule& cellule) {
    return QStringLiteral("Ligne %1, colonne %2 : ").arg(index / Colonnes + 1).arg(index % Colonnes + 1) +
           ContenuCase(cellule);
}

QString NomBloc(std::size_t rang, const std::string& image) {
    static const std::array<const char*, 3> boites{"Tuyau en main", "Tuyau suivant", "Tuyau d'après"};
    const Tuile* tuile = TuileNommee(image);
    return QString::fromUtf8(boites.at(rang)) + QStringLiteral(" : ") +
           (tuile ? Decrire(*tuile) : QStringLiteral("aucun"));
}

void InstallerAccessibilite() {
    static const bool installee = [] {
        QAccessible::installFactory(&Fabrique);
        return true;
    }();
    (void)installee;
}

} // namespace canalisor::ui
