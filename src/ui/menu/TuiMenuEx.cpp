#include "ui/menu/TuiMenuEx.h"

#include "i18n/Translation.h"
#include "ui/menu/MenuAccessibility.h"
#include "ui/menu/MenuPopup.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace k4812 {

namespace {

QRect screenOf(const QWidget* widget, const QPoint& globalPos)
{
    const QScreen* screen = QGuiApplication::screenAt(globalPos);
    if (screen == nullptr && widget != nullptr)
        screen = widget->screen();
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry() : QRect();
}

} // namespace

TuiMenuEx::TuiMenuEx(QObject* parent) : QObject(parent)
{
    installMenuAccessibility();
    QFont font;
    font.setFamilies({QStringLiteral("SimHei"), QStringLiteral("黑体"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Sans Serif")});
    font.setPointSize(13);
    Parameters.ItemFont = font;
    // An open list must never show items that are gone.
    m_items.OnStructureChange = [this] { CloseMenu(); };
    m_items.OnStateChange = [this](TuiMenuItemsEx& list) { refreshOpenList(list); };
}

void TuiMenuEx::UpdateMenuState()
{
    for (MenuPopup* popup : openPopups())
        popup->refresh(m_selectedId);
}

void TuiMenuEx::refreshOpenList(TuiMenuItemsEx& list)
{
    for (MenuPopup* popup : openPopups()) {
        if (&popup->list() == &list)
            popup->refresh(m_selectedId);
    }
}

TuiMenuEx::~TuiMenuEx()
{
    m_items.OnStructureChange = nullptr;
    m_items.OnStateChange = nullptr;
    // The popups must not report back while this menu goes away.
    const std::vector<QPointer<MenuPopup>> open = std::move(m_chain);
    m_chain.clear();
    for (const QPointer<MenuPopup>& popup : open) {
        if (popup)
            delete popup.data();
    }
}

int TuiMenuEx::itemHeight() const
{
    return std::max(20, Parameters.ItemHeight);
}

namespace {

void visitCaptions(const TuiMenuItemsEx& list, const QFont& font,
                   const std::function<void(const QFont&, const QString&)>& text)
{
    for (int i = 0; i < list.Count(); ++i) {
        text(font, translate(list[i].Caption));
        visitCaptions(list[i].SubItems(), font, text);
    }
}

} // namespace

void TuiMenuEx::forEachShownText(const std::function<void(const QFont&, const QString&)>& text) const
{
    visitCaptions(m_items, Parameters.ItemFont, text);
}

void TuiMenuEx::ShowMainMenu(QWidget* PlacementTarget, TPlacement Placement)
{
    show(std::nullopt, PlacementTarget, Placement, std::nullopt);
}

void TuiMenuEx::ShowMainMenu(std::uint64_t SelectedMenuID, QWidget* PlacementTarget, TPlacement Placement)
{
    show(SelectedMenuID, PlacementTarget, Placement, std::nullopt);
}

void TuiMenuEx::ShowMainMenu(std::uint64_t SelectedMenuID, QWidget* PlacementTarget, TPlacement Placement,
                             const QRect& PlacementRectangle)
{
    show(SelectedMenuID, PlacementTarget, Placement, PlacementRectangle);
}

void TuiMenuEx::show(std::optional<std::uint64_t> selectedId, QWidget* target, TPlacement placement,
                     std::optional<QRect> placementRectangle)
{
    CloseMenu();
    if (target == nullptr)
        return;
    m_selectedId = selectedId;
    m_down = nullptr;
    auto* popup = new MenuPopup(*this, m_items, selectedId);
    MenuPlacementInput in;
    in.target = QRect(target->mapToGlobal(QPoint(0, 0)), target->size());
    in.targetWindow = target->window()->frameGeometry();
    in.popup = popup->size();
    in.screen = screenOf(target, in.target.center());
    in.placement = placement;
    in.placementRectangle = placementRectangle;
    popup->move(menuPopupPosition(in));
    open(*popup, *target->window());
}

void TuiMenuEx::open(MenuPopup& popup, QWidget& owner)
{
    popup.winId();
    if (QWindow* window = popup.windowHandle())
        window->setTransientParent(owner.windowHandle());
    m_chain.emplace_back(&popup);
    popup.show();
    popup.setFocus(Qt::PopupFocusReason);
    popup.announceOpened();
}

void TuiMenuEx::openSubMenu(MenuPopup& from, int row)
{
    closeSubMenusOf(from);
    TuiMenuItemsEx& list = from.list()[row].SubItems();
    if (list.Count() == 0)
        return;
    auto* popup = new MenuPopup(*this, list, m_selectedId);
    MenuPlacementInput in;
    // Beside the whole list, its first row level with the item.
    const QRect item = from.rowGlobalRect(row);
    in.target = QRect(from.x(), item.y() - Parameters.BGMargins.top(), from.width(), item.height());
    in.targetWindow = from.frameGeometry();
    in.popup = popup->size();
    in.screen = screenOf(&from, in.target.center());
    in.placement = TPlacement::vgPlacementRight;
    popup->move(menuPopupPosition(in));
    popup->setOpener(from.rows()[std::size_t(row)]);
    open(*popup, from);
}

int TuiMenuEx::depthOf(const MenuPopup& popup) const
{
    for (std::size_t i = 0; i < m_chain.size(); ++i) {
        if (m_chain[i].data() == &popup)
            return int(i);
    }
    return -1;
}

void TuiMenuEx::closeSubMenusOf(const MenuPopup& popup)
{
    const int depth = depthOf(popup);
    if (depth < 0)
        return;
    // Innermost first; each close removes its popup from the chain.
    while (int(m_chain.size()) > depth + 1) {
        QPointer<MenuPopup> last = m_chain.back();
        if (last)
            last->close();
        if (!m_chain.empty() && m_chain.back() == last)
            m_chain.pop_back();
    }
}

void TuiMenuEx::CloseMenu()
{
    while (!m_chain.empty()) {
        QPointer<MenuPopup> last = m_chain.back();
        if (last)
            last->close();
        if (!m_chain.empty() && m_chain.back() == last)
            m_chain.pop_back();
    }
}

void TuiMenuEx::popupHidden(MenuPopup& popup)
{
    const int depth = depthOf(popup);
    if (depth < 0)
        return;
    // A list that closes takes its sub-menus with it.
    closeSubMenusOf(popup);
    m_chain.erase(m_chain.begin() + depth);
    emit OnMenuClose(&popup.list());
}

std::vector<MenuPopup*> TuiMenuEx::openPopups() const
{
    std::vector<MenuPopup*> popups;
    for (const QPointer<MenuPopup>& popup : m_chain) {
        if (popup)
            popups.push_back(popup.data());
    }
    return popups;
}

MenuPopup* TuiMenuEx::subMenuOf(const MenuPopup& popup) const
{
    const int depth = depthOf(popup);
    if (depth < 0 || depth + 1 >= int(m_chain.size()))
        return nullptr;
    return m_chain[std::size_t(depth) + 1].data();
}

MenuPopup* TuiMenuEx::ancestorAt(const MenuPopup& from, const QPoint& globalPos) const
{
    for (int i = depthOf(from) - 1; i >= 0; --i) {
        MenuPopup* popup = m_chain[std::size_t(i)].data();
        if (popup != nullptr && popup->frameGeometry().contains(globalPos))
            return popup;
    }
    return nullptr;
}

void TuiMenuEx::itemReleased(MenuPopup& popup, TuiMenuItemEx* item)
{
    const MenuRelease outcome = releaseOutcome(m_down, item);
    m_down = nullptr;
    if (outcome.closeTree)
        chooseLeaf(popup.list(), outcome.report);
}

void TuiMenuEx::chooseLeaf(TuiMenuItemsEx& list, TuiMenuItemEx* report)
{
    CloseMenu();
    clearSelectionsExcept(m_items, &list);
    if (report == nullptr)
        return;
    if (report->OnExecute)
        report->OnExecute(*report);
    else
        emit OnItemsClick(report, report->Name(), report->ItemID());
}

} // namespace k4812
