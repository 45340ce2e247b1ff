// The main window's client area: every control keeps the place it was drawn at for the default
// size, and the whole layout scales with the window by one factor, centred, its proportions kept.
#pragma once

#include <vector>

#include <QPointer>
#include <QRect>
#include <QWidget>

namespace canalisor::ui {

// Where a place drawn at the default size lands at `echelle`, moved by `decalage`. Edges are
// scaled as the pixel lines they start on, the far one included, so that controls that share a
// border line at the default size (the board's cells, every 80 pixels and 81 wide) still share
// one, `trait` pixels wide, at every scale.
QRect AEchelle(const QRect& zone, double echelle, QPoint decalage, int trait);
// The width of a one-pixel line of the default size, at `echelle`.
int Trait(double echelle);

class Disposition : public QWidget {
    Q_OBJECT
  public:
    // The client area the layout was drawn for, in pixels.
    static constexpr QSize Taille{1218, 738};
    // How small the window may be made, as a fraction of the default: it then fits a
    // 1280 x 720 work area with its title bar and a panel.
    static constexpr double EchelleMin = 0.6;

    static QSize TailleMin();

    explicit Disposition(QWidget* parent);
    QSize sizeHint() const override { return Taille; }

    // Takes the places and fonts the children have now as those of the default size.
    void Retenir();
    double Echelle() const { return echelle_; }
    QPoint Decalage() const { return decalage_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct Place {
        QPointer<QWidget> controle;
        QRect zone;
        int pixels; // its font's size, or 0 when it keeps the inherited one
        int trait;  // its frame's line width, or 0 when it has none
    };
    void Appliquer();

    std::vector<Place> places_;
    double echelle_ = 1;
    QPoint decalage_;
};

} // namespace canalisor::ui
