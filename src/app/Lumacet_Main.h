#pragma once
// The main window: owns all editing state and wires the subsystems together.
// Its handlers are defined in the folder of the subsystem they belong to:
// document (app/), adjustments (adjust/), layers and panel (objects/), painters (render/).
#include "objects/ImageClasses.h"
#include "platform/LayeredView.h"
#include "platform/VclColor.h"

#include <QImage>
#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>

class ColorBox;
class QAction;
class QCheckBox;
class QComboBox;
class QFontComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QScrollArea;
class QSlider;
class QSpinBox;
class QSplitter;
class QTabWidget;
class QToolButton;
class QWidget;
class Registry;

// Tests answer File > Open and Save As with this script (save: true for Save As;
// preset: the name the dialog starts with); an empty answer cancels.
void SetFileDialogScript(std::function<QString(bool save, const QString& preset)> script);

class TfrmLumacet_Main : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmLumacet_Main(const QStringList& arguments, QWidget* parent = nullptr);
    ~TfrmLumacet_Main() override;

    // Document (app/Document.cpp)
    bool LoadImageFile(const QString& path);
    bool SaveImageFile(const QString& path);
    bool AskToSaveChanges();
    void MergeObjectsIntoImage();
    void EnableToolButtons(bool enabled);

    // Layers and selection (objects/ObjectLayers.cpp)
    PositionedLayer* NewObjectLayer(int w, int h);
    BitmapLayer* NewPictureLayer(int w, int h);
    void SelectObjectLayer(Layer* layer);
    void AttachRubberBand(Layer* layer);
    void ShowPropertiesTab(QWidget* tab);

    // State the tests and the subsystems read.
    const QString& fileName() const { return FFileName; }
    const QImage& workBitmap() const { return FWorkBitmap; }
    LayeredView* view() const { return Image321; }
    TImageObjectList& imageObjects() { return FImageObjects; }
    Layer* selectedLayer() const { return FSelectedLayer; }
    RubberBandLayer* rubberBand() const { return FRubberBand; }
    int changeCounter() const;
    TImageArrow& arrowDefaults() { return *FArrowDefaults; }
    TImageText& textDefaults() { return *FTextDefaults; }
    TImageShape& boxDefaults() { return *FBoxDefaults; }
    TImageShape& circleDefaults() { return *FCircleDefaults; }
    TImageLine& lineDefaults() { return *FLineDefaults; }
    TImageGrid& gridDefaults() { return *FGridDefaults; }
    TImageBitmap& bitmapDefaults() { return *FBitmapDefaults; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Lifecycle (app/Lumacet_Main.cpp)
    void FormCreate(const QStringList& arguments);
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    void ReadWindowPlacement();
    void WriteWindowPlacement(Registry& registry);
    void closeMainWindow();
    void splImageObjectsDblClick();
    // Runs an operation; an error it raises is shown to the user and the program goes on.
    bool guarded(const std::function<void()>& operation);

    // Layout (app/MainWindowLayout.cpp, objects/PropertiesPanel.cpp)
    void BuildLayout();
    void BuildMenus();
    QWidget* BuildControlsPanel();
    QWidget* BuildBottomPanel();
    QWidget* BuildGalleryPanel();
    QWidget* BuildPropertiesPanel();
    void Panel_PropertiesResize();

    // Document handlers (app/Document.cpp)
    void mnuOpenClick();
    void mnuSaveClick();
    void mnuSaveAsClick();
    void mnuExitClick();
    void btnApplyClick();
    void btnOKClick();
    void btnCancelClick();
    void setChangeCounter(int counter);
    void RemoveAllLayers();

    // Adjustment pipeline (adjust/AdjustHandlers.cpp)
    void tbBCSChange();
    void tbBrightnessChange();
    void tbContrastChange();
    void tbSaturationChange();
    void btnBrightnessDownClick();
    void btnBrightnessUpClick();
    void btnContrastDownClick();
    void btnContrastUpClick();
    void btnSaturationDownClick();
    void btnSaturationUpClick();
    void btnRotateLeftClick();
    void btnRotateRightClick();
    void btnCropClick();
    void TransformWorkBitmap(const std::function<void(QImage&)>& operation);
    void ResetAdjustments();
    void ShowDerivedPicture();
    void SliderMoved(QSlider* slider, QLabel* label, const char* format);
    void ShowImageSize();
    bool FDerivePending = false;
    bool FAdjustmentUnsaved = false; // an adjustment, rotation or crop not yet saved

    // New objects, selection, stacking (objects/ObjectLayers.cpp)
    void Btn_NewArrowClick(QToolButton* sender);
    void Btn_NewLineClick(QToolButton* sender);
    void Btn_NewBoxClick(QToolButton* sender);
    void Btn_NewCircleClick(QToolButton* sender);
    void NewShape(QToolButton* sender, QComboBox* widths, ColorBox* fill, ColorBox* edge, QToolButton* openButton,
                  const TImageShape& defaults);
    void Btn_NewTextClick();
    void SpBtn_GridClick();
    void AddNewObject(std::unique_ptr<TImageObject> object, Layer* layer);
    void Btn_DeleteObjectClick();
    void Btn_MoveToFrontClick();
    void Btn_MoveToBackClick();
    void LayerMouseDown(Layer& layer, Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF position);
    void Image321MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF position, Layer* layer);
    void Image321MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF position, Layer* layer);
    void RubberBandResizing(const QRectF& start, QRectF& proposed, RubberBandLayer::DragState state,
                            Qt::KeyboardModifiers shift);
    void RubberBandHitTest();
    void ClearSelectionCommands();
    void ShowNothingSelected(); // commands and panel as they are with no selection
    TImageObject* ObjectOfLayer(const Layer* layer) const;
    TImageObject* SelectedObject() const;
    void BindPainter(Layer* layer, const TImageObject& object);

    // Properties panel (objects/PropertiesPanel.cpp)
    void LoadPanelFromObject(const TImageObject& object);
    void ConnectPropertyHandlers();
    template <class T>
    T* SelectedOfKind(TImageObjectKind kind) const;
    void ColorBox_ArrowFillSelect();
    void ColorBox_ArrowEdgeSelect();
    void Combo_ArrowWidthSelect();
    void cmbArrowHeadSizeSelect();
    void Combo_ArrowDirectionSelect();
    void Edit_TextChange();
    void JvFontComboChange();
    void Combo_FontSizeChange();
    void clrTextColorSelect();
    void clrTextBkColorSelect();
    void clrTextOutlineColorSelect();
    void CheckList_StyleClickCheck();
    void ShapeColorSelect(TImageObjectKind kind, ColorBox* box, bool fill);
    void ShapeWidthSelect(TImageObjectKind kind, QComboBox* widths, QToolButton* openButton);
    void ColorBox_BoxFillSelect();
    void ColorBox_BoxEdgeSelect();
    void Combo_BoxLineWidthSelect();
    void ColorBox_CircleFillSelect();
    void ColorBox_CircleEdgeSelect();
    void Combo_CircleLineWidthSelect();
    void ColorBox_LineFillSelect();
    void ColorBox_LineEdgeSelect();
    void Combo_LineWidthSelect();
    void Combo_LineDirectionSelect();
    void cmbGridDimensionsSelect();
    void clrGridLineColorSelect();
    void cmbGridLineWidthSelect();
    void cmbRowHeadingsSelect();
    void cmbColumnHeadingsSelect();
    void clrGridHeadingColorSelect();
    void SetControlsFromDefaults();
    QWidget* TabOfKind(TImageObjectKind kind) const;

    // Painters (render/Painters.cpp)
    void PaintArrowUpRight(Layer& layer, QImage& buffer, const QRectF& location);
    void PaintArrowUpLeft(Layer& layer, QImage& buffer, const QRectF& location);
    void PaintArrowDownLeft(Layer& layer, QImage& buffer, const QRectF& location);
    void PaintArrowDownRight(Layer& layer, QImage& buffer, const QRectF& location);
    void PaintLineHorizontal(Layer& layer, QImage& buffer, const QRectF& location);
    void PaintLineVertical(Layer& layer, QImage& buffer, const QRectF& location);
    void PaintLineDiagonalUp(Layer& layer, QImage& buffer, const QRectF& location);
    void PaintLineDiagonalDown(Layer& layer, QImage& buffer, const QRectF& location);
    void PaintBox(Layer& layer, QImage& buffer, const QRectF& location);
    void PaintCircle(Layer& layer, QImage& buffer, const QRectF& location);
    void PaintText(Layer& layer, QImage& buffer, const QRectF& location);
    void PaintGrid(Layer& layer, QImage& buffer, const QRectF& location);
    void PaintPictureLayer(Layer& layer, QImage& buffer, const QRectF& location);
    void PaintArrow(Layer& layer, QImage& buffer, const QRectF& location, int direction);
    void PaintLine(Layer& layer, QImage& buffer, const QRectF& location, int direction);
    void PaintShape(Layer& layer, QImage& buffer, const QRectF& location, TImageObjectKind kind, TImageShape& defaults);

    // Editing state
    qint32 FSavedWindowState = 0;
    Layer* FSelectedLayer = nullptr;
    QString FFileName;
    TImageObjectList FImageObjects;
    std::unique_ptr<TImageArrow> FArrowDefaults;
    std::unique_ptr<TImageText> FTextDefaults;
    std::unique_ptr<TImageBox> FBoxDefaults;
    std::unique_ptr<TImageCircle> FCircleDefaults;
    std::unique_ptr<TImageLine> FLineDefaults;
    std::unique_ptr<TImageGrid> FGridDefaults;
    std::unique_ptr<TImageBitmap> FBitmapDefaults;
    bool FSaveText = false;
    QImage FWorkBitmap;
    RubberBandLayer* FRubberBand = nullptr;
    bool FShown = false;
    bool FInFormShow = false;
    int FPanelWidth = 125;
    QRect FPlacement; // outer rectangle read at creation
    bool FPlacementFramed = false;

    // Controls (owned by Qt parents)
    QWidget* Panel_Properties = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet_Image = nullptr;
    QWidget* TabSheet_Arrow = nullptr;
    QWidget* TabSheet_Text = nullptr;
    QWidget* TabSheet_Box = nullptr;
    QWidget* TabSheet_Line = nullptr;
    QWidget* TabSheet_Circle = nullptr;
    QWidget* TabSheet_Grid = nullptr;
    QWidget* TabSheet_ImageObject = nullptr;
    QLineEdit* Edit_FileName = nullptr;
    QLineEdit* Edit_ImageWidth = nullptr;
    QLineEdit* Edit_ImageHeight = nullptr;

    ColorBox* ColorBox_ArrowFill = nullptr;
    ColorBox* ColorBox_ArrowEdge = nullptr;
    QComboBox* Combo_ArrowWidth = nullptr;
    QComboBox* cmbArrowHeadSize = nullptr;
    QComboBox* Combo_ArrowDirection = nullptr;

    QLineEdit* Edit_Text = nullptr;
    QFontComboBox* JvFontCombo = nullptr;
    QComboBox* Combo_FontSize = nullptr;
    QListWidget* CheckList_Style = nullptr;
    ColorBox* clrTextColor = nullptr;
    ColorBox* clrTextBkColor = nullptr;
    ColorBox* clrTextOutlineColor = nullptr;

    ColorBox* ColorBox_BoxFill = nullptr;
    ColorBox* ColorBox_BoxEdge = nullptr;
    QComboBox* Combo_BoxLineWidth = nullptr;
    ColorBox* ColorBox_CircleFill = nullptr;
    ColorBox* ColorBox_CircleEdge = nullptr;
    QComboBox* Combo_CircleLineWidth = nullptr;

    ColorBox* ColorBox_LineFill = nullptr;
    ColorBox* ColorBox_LineEdge = nullptr;
    QComboBox* Combo_LineWidth = nullptr;
    QComboBox* Combo_LineDirection = nullptr;

    QComboBox* cmbGridDimensions = nullptr;
    ColorBox* clrGridLineColor = nullptr;
    QComboBox* cmbGridLineWidth = nullptr;
    QComboBox* cmbRowHeadings = nullptr;
    QComboBox* cmbColumnHeadings = nullptr;
    ColorBox* clrGridHeadingColor = nullptr;

    QSpinBox* spinImageObjectWidth = nullptr;
    QSpinBox* spinImageObjectHeight = nullptr;

    QWidget* Panel_Controls = nullptr;
    QToolButton* SpBtn_ArrowUR = nullptr;
    QToolButton* SpBtn_ArrowUL = nullptr;
    QToolButton* SpBtn_ArrowDL = nullptr;
    QToolButton* SpBtn_ArrowDR = nullptr;
    QToolButton* SpBtn_LineHorz = nullptr;
    QToolButton* SpBtn_LineVert = nullptr;
    QToolButton* SpBtn_LineUp = nullptr;
    QToolButton* SpBtn_LineDown = nullptr;
    QToolButton* SpBtn_OpenBox = nullptr;
    QToolButton* SpBtn_ClosedBox = nullptr;
    QToolButton* SpBtn_OpenCircle = nullptr;
    QToolButton* SpBtn_ClosedCircle = nullptr;
    QToolButton* SpBtn_Text = nullptr;
    QToolButton* SpBtn_Grid = nullptr;
    QToolButton* Btn_MoveToFront = nullptr;
    QToolButton* Btn_MoveToBack = nullptr;
    QToolButton* btnRotateLeft = nullptr;
    QToolButton* btnRotateRight = nullptr;
    QPushButton* btnCrop = nullptr;
    QSlider* tbBrightness = nullptr;
    QSlider* tbContrast = nullptr;
    QSlider* tbSaturation = nullptr;
    QLabel* lblBrightness = nullptr;
    QLabel* lblContrast = nullptr;
    QLabel* lblSaturation = nullptr;
    QToolButton* btnBrightnessDown = nullptr;
    QToolButton* btnBrightnessUp = nullptr;
    QToolButton* btnContrastDown = nullptr;
    QToolButton* btnContrastUp = nullptr;
    QToolButton* btnSaturationDown = nullptr;
    QToolButton* btnSaturationUp = nullptr;
    QPushButton* Btn_DeleteObject = nullptr;
    QAction* aDeleteObject = nullptr;

    QWidget* Panel_Image = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    LayeredView* Image321 = nullptr;
    QWidget* pnlObjects = nullptr;
    QListWidget* ImageEnMView1 = nullptr;
    QSplitter* splImageObjects = nullptr;
    QWidget* sPanel1 = nullptr;
    QPushButton* btnApply = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

    QAction* mnuOpen = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuSaveAs = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuDeleteObject = nullptr;
    QAction* mnuTamselsHomePage = nullptr;
    QAction* mnuEmailTamselSupport = nullptr;
    QAction* mnuCheckforUpdates = nullptr;
    QAction* mnuAbout = nullptr;
};
