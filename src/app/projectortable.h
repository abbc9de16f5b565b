#pragma once

#include <QTableWidget>

#include <optional>

namespace vistrel {
class Session;
}

namespace vistrel::app {

// Every model of the calculator's list, the catalogue's and then the
// user's own, as data sheets quote them: the throw ratio at each end, the
// offset or the lens-shift range, and the panel.
class ProjectorTable : public QTableWidget {
    Q_OBJECT

public:
    ProjectorTable(const Session &session, QWidget *parent);

    // The list shown anew when the session's changed (true then); the model
    // selected stays selected where it is still listed.
    bool showModels();
    // The list position of the selected model.
    std::optional<int> selectedModel() const;
    void selectModel(int listPosition);

private:
    const Session &session_;
    unsigned shownVersion_ = ~0U;
};

} // namespace vistrel::app
