#pragma once

// The dashboard: a background picture and the groups "Universe at a Time", "Team at a Time",
// "Player at a Time", "ToolBox" and "Errors Log". The page only shows and collects; the main
// window answers its buttons.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "app/game_settings.h"
#include "app/player_search.h"
#include "app/window_state.h"

namespace likentor {

// The five controls bound to the current row of the games table.
struct BoundSettings {
  bool useLogos = false;
  bool createActivePhotos = false;
  bool createRetiredPhotos = false;
  int abMinimum = 0;
  int ipMinimum = 0;
  bool spreadFaces = false;  // "Different faces within a team"
  bool playersAge = false;   // "Players age with their careers"
};

class DashboardPage : public QWidget {
  Q_OBJECT

 public:
  DashboardPage(const QPixmap& background, QWidget* parent);

  // The bound controls show `settings`; without a settings row they are cleared and disabled.
  void ShowSettings(const std::optional<BoundSettings>& settings);
  void ShowTeams(const std::vector<TeamItem>& teams);
  void ShowErrors(const std::vector<std::string>& lines);
  void SetBackground(const QPixmap& background);
  // While a batch run goes, every control that would touch the tables is disabled.
  void SetRunning(bool running);

  // LevelScopeBox's index (a plain drop-down: always one of its items).
  int LevelScopeIndex() const;
  // The team chosen in TeamLookupBox: its team id, or nothing when no item is chosen.
  std::optional<int> ChosenTeam() const;
  PlayerSearch Search() const;

 signals:
  void UniverseGoClicked();
  void TeamGoClicked();
  // "What will this do?" beside each "Do it!".
  void UniverseDryRunClicked();
  void TeamDryRunClicked();
  void SearchClicked();
  void SaveSettingsClicked();
  void CustomUniformsClicked();
  void LocksClicked();
  void EthnicityClicked();
  void FacialHairClicked();
  void InstallClicked();
  void PortraitsClicked();
  // A bound control was changed by the user.
  void SettingEdited(const likentor::SettingChange& change);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QGroupBox* MakeUniverseGroup();
  QGroupBox* MakeTeamGroup();
  QGroupBox* MakePlayerGroup();
  QGroupBox* MakeToolBox();
  QGroupBox* MakeErrorsGroup();
  void UpdateEnabled();

  QPixmap background_;
  bool running_ = false;
  bool hasSettings_ = false;

  QCheckBox* activeBox_ = nullptr;
  QCheckBox* retiredBox_ = nullptr;
  QSpinBox* abEdit_ = nullptr;
  QSpinBox* ipEdit_ = nullptr;
  QComboBox* levelBox_ = nullptr;
  QPushButton* universeGo_ = nullptr;
  QComboBox* teamBox_ = nullptr;
  QPushButton* teamGo_ = nullptr;
  QPushButton* universeDryRun_ = nullptr;
  QPushButton* teamDryRun_ = nullptr;
  QLineEdit* firstName_ = nullptr;
  QLineEdit* lastName_ = nullptr;
  QSpinBox* playerId_ = nullptr;
  QPushButton* search_ = nullptr;
  QCheckBox* logosBox_ = nullptr;
  QCheckBox* spreadBox_ = nullptr;
  QCheckBox* agingBox_ = nullptr;
  std::vector<QPushButton*> tableButtons_;  // the ToolBox buttons
  QPlainTextEdit* errorsBox_ = nullptr;
};

}  // namespace likentor
