// Handing pictures to the outside: the current intermediate frame as BMP or JPEG file, the
// placed section of a source picture as BMP file, and both opened in the desktop's program
// for them. None of this changes the morphing. The picture-save dialog is shared by the frame
// and the section export: only the section export sets its title, filter and default
// extension, which it keeps afterwards.
#pragma once

#include <string>

namespace qv {

class TBitmap;
class TMorphSource;
struct TFileDialog;

// The shared picture-save dialog as the program starts with it.
void InitPictureSaveDialog(TFileDialog& dlg);

// "Zwischenbild speichern...": asks for the file in dlg (start folder "FrameDir" of section
// "File") and whether to replace an existing one, then writes frame by the extension: ".bmp"
// as BMP, ".jpg" and ".jpeg" as JPEG with EXIF block, anything else not at all. The folder is
// stored as "FrameDir" unless the user refused or writing failed (the error is raised).
void SaveIntermediateFrame(TFileDialog& dlg, const TBitmap& frame);

// "Bildausschnitt speichern...": asks for the file in dlg (title "Bild(ausschnitt) speichern",
// start folder "PictSaveDir") and writes the source's section at target size as BMP file,
// replacing an existing one. Answers the file written; empty when cancelled or without source.
std::string SaveImageSection(TFileDialog& dlg, TMorphSource* source);
// "Bildausschnitt speichern und extern bearbeiten": the same, then the file is opened in the
// desktop's program for it.
void SaveImageSectionAndEdit(TFileDialog& dlg, TMorphSource* source);
// "Bild extern bearbeiten": the source's whole picture file opened in the desktop's program.
void EditPictureExternally(const TMorphSource* source);

}  // namespace qv
