// The one list of settings. Each row declares a setting once:
//   X(group, member, "Key", Type, default, keyword table)
// The rows stand in configuration-file order, group by group. The record's
// fields, the defaults, the key lookup used by options, profiles, the debug
// listing and the configuration file are all generated from these rows.
// A keyword table of -1 means the value is shown and read as a number.
#pragma once

#define TARNWICK_WATERMARK_NOTICE "Tarnwick by Lumacraft"
#define TARNWICK_PALETTE "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF"

#define TARNWICK_SETTINGS(X)                                                          \
  X(General, cfg, "CFG", Int32, 17, -1)                                               \
  X(General, language, "Language", Text, "en", -1)                                    \
  X(General, updateRange, "Update Range", Int32, 2, -1)                               \
  X(General, updateDate, "Update Date", Date, 0, -1)                                  \
  X(General, saveWindowPosition, "Save Window Position", Flag, 1, -1)                 \
  X(Window, isMaximized, "IsMaximized", Flag, 0, -1)                                  \
  X(Window, x, "X", Int32, 100, -1)                                                   \
  X(Window, y, "Y", Int32, 100, -1)                                                   \
  X(Window, width, "Width", Int32, 510, -1)                                           \
  X(Window, height, "Height", Int32, 260, -1)                                         \
  X(Interface, uiTheme, "UI Theme", Text, "handdrawn", -1)                            \
  X(Interface, uiSize, "UI Size", Int32, 2, -1)                                       \
  X(Input, inputFormat, "Format", Text, "jpg", -1)                                    \
  X(Input, ddsLoadAs, "DDS Load As", Int32, 0, 0)                                     \
  X(Input, gifFrameLoading, "GIF Frame Loading", Int32, 0, 2)                         \
  X(Input, icoFrameLoading, "ICO Frame Loading", Int32, 0, 2)                         \
  X(Input, tiffFrameLoading, "TIFF Frame Loading", Int32, 0, 2)                       \
  X(Input, rawLoadAs, "RAW Load As", Int32, 0, 1)                                     \
  X(Input, rawHeaderSize, "RAW Header Size", Int32, 0, -1)                            \
  X(Input, rawImageWidth, "RAW Image Width", Int32, 0, -1)                            \
  X(Input, rawImageHeight, "RAW Image Height", Int32, 0, -1)                          \
  X(Input, rawToneMapping, "RAW Tone Mapping", Int32, 2, 3)                           \
  X(Output, outputFormat, "Format", Text, "tga", -1)                                  \
  X(Output, bmpBpp, "BMP BPP", Int32, 0, -1)                                          \
  X(Output, bmpCompression, "BMP Compression", Int32, 0, 4)                           \
  X(Output, bmpColorTable, "BMP Color Table", Int32, 0, 5)                            \
  X(Output, ddsBpp, "DDS BPP", Int32, 0, -1)                                          \
  X(Output, exrBpp, "EXR BPP", Int32, 0, -1)                                          \
  X(Output, exrCompression, "EXR Compression", Int32, 0, 4)                           \
  X(Output, gifBpp, "GIF BPP", Int32, 0, -1)                                          \
  X(Output, hdrBpp, "HDR BPP", Int32, 0, -1)                                          \
  X(Output, icoBpp, "ICO BPP", Int32, 0, -1)                                          \
  X(Output, j2kBpp, "J2K BPP", Int32, 0, -1)                                          \
  X(Output, jngBpp, "JNG BPP", Int32, 0, -1)                                          \
  X(Output, jp2Bpp, "JP2 BPP", Int32, 0, -1)                                          \
  X(Output, jpgBpp, "JPG BPP", Int32, 0, -1)                                          \
  X(Output, jpgQuality, "JPG Quality", Int32, 95, -1)                                 \
  X(Output, jpgChroma, "JPG Chroma", Int32, 0, 7)                                     \
  X(Output, jpgSaveAs, "JPG Save As", Int32, 0, 8)                                    \
  X(Output, jxrBpp, "JXR BPP", Int32, 0, -1)                                          \
  X(Output, pbmBpp, "PBM BPP", Int32, 0, -1)                                          \
  X(Output, pcxBpp, "PCX BPP", Int32, 0, -1)                                          \
  X(Output, pfmBpp, "PFM BPP", Int32, 0, -1)                                          \
  X(Output, pgmBpp, "PGM BPP", Int32, 0, -1)                                          \
  X(Output, pngBpp, "PNG BPP", Int32, 0, -1)                                          \
  X(Output, pngCompression, "PNG Compression", Int32, 0, 4)                           \
  X(Output, pngInterlaced, "PNG Interlaced", Flag, 0, -1)                             \
  X(Output, ppmBpp, "PPM BPP", Int32, 0, -1)                                          \
  X(Output, psdBpp, "PSD BPP", Int32, 0, -1)                                          \
  X(Output, tgaBpp, "TGA BPP", Int32, 0, -1)                                          \
  X(Output, tgaCompression, "TGA Compression", Int32, 0, 4)                           \
  X(Output, tiffBpp, "TIFF BPP", Int32, 0, -1)                                        \
  X(Output, tiffCompression, "TIFF Compression", Int32, 0, 4)                         \
  X(Output, tiffColorModel, "TIFF Color Model", Int32, 0, 6)                          \
  X(Output, wbmpBpp, "WBMP BPP", Int32, 0, -1)                                        \
  X(Output, webpBpp, "WEBP BPP", Int32, 0, -1)                                        \
  X(Output, xpmBpp, "XPM BPP", Int32, 0, -1)                                          \
  X(Transform, doImageRotation, "Do Image Rotation", Flag, 0, -1)                     \
  X(Transform, imageRotationType, "Image Rotation Type", Int8, 0, 9)                  \
  X(Transform, imageRotation, "Image Rotation", Int32, 0, -1)                         \
  X(Transform, imageRotationBackColor, "Image Rotation Back Color", Colour, "000000", -1) \
  X(Transform, doImageResize, "Do Image Resize", Flag, 0, -1)                         \
  X(Transform, imageWidth, "Image Width", Int32, 0, -1)                               \
  X(Transform, imageWidthUnit, "Image Width Unit", Int8, 0, 10)                       \
  X(Transform, imageHeight, "Image Height", Int32, 0, -1)                             \
  X(Transform, imageHeightUnit, "Image Height Unit", Int8, 0, 10)                     \
  X(Transform, keepAspectRatio, "Keep Aspect Ratio", Flag, 1, -1)                     \
  X(Transform, imageResizeType, "Image Resize Type", Int8, 0, 11)                     \
  X(Transform, imageResizeAlgorithm, "Image Resize Algorithm", Int8, 3, 12)           \
  X(Transform, doImageFlipHorizontal, "Do Image Flip Horizontal", Flag, 0, -1)        \
  X(Transform, doImageFlipVertical, "Do Image Flip Vertical", Flag, 0, -1)            \
  X(Adjustment, doImageColorCorrection, "Do Image Color Correction", Flag, 0, -1)     \
  X(Adjustment, imageBrightness, "Image Brightness", Int32, 0, -1)                    \
  X(Adjustment, imageContrast, "Image Contrast", Int32, 0, -1)                        \
  X(Adjustment, imageGamma, "Image Gamma", Float, 1.0, -1)                            \
  X(Adjustment, imageInvert, "Image Invert", Flag, 0, -1)                             \
  X(Adjustment, doImageGreyscale, "Do Image Greyscale", Flag, 0, -1)                  \
  X(Adjustment, doImageThreshold, "Do Image Threshold", Flag, 0, -1)                  \
  X(Adjustment, imageThreshold, "Image Threshold", Int32, 0, -1)                      \
  X(Frame, doFrame, "Do Frame", Int8, 0, 13)                                          \
  X(Frame, solidLeft, "Solid Left", Int32, 0, -1)                                     \
  X(Frame, solidRight, "Solid Right", Int32, 0, -1)                                   \
  X(Frame, solidTop, "Solid Top", Int32, 0, -1)                                       \
  X(Frame, solidBottom, "Solid Bottom", Int32, 0, -1)                                 \
  X(Frame, solidLeftColor, "Solid Left Color", Colour, "000000", -1)                  \
  X(Frame, solidRightColor, "Solid Right Color", Colour, "000000", -1)                \
  X(Frame, solidTopColor, "Solid Top Color", Colour, "000000", -1)                    \
  X(Frame, solidBottomColor, "Solid Bottom Color", Colour, "000000", -1)              \
  X(Frame, solidOpacity, "Solid Opacity", Int32, 255, -1)                             \
  X(Watermark, doWatermark, "Do Watermark", Int8, 0, 14)                              \
  X(Watermark, text, "Text", Text, TARNWICK_WATERMARK_NOTICE, -1)                     \
  X(Watermark, fonts, "Fonts", Text, "Arial,Tahoma,Verdana", -1)                      \
  X(Watermark, font, "Font", Text, "Arial", -1)                                       \
  X(Watermark, fontSize, "Font Size", Int32, 14, -1)                                  \
  X(Watermark, fontLeading, "Font Leading", Int32, 0, -1)                             \
  X(Watermark, fontColors, "Font Colors", ColourList, TARNWICK_PALETTE, -1)           \
  X(Watermark, fontColor, "Font Color", Colour, "FFFFFF", -1)                         \
  X(Watermark, fontStyle, "Font Style", Int8, 0, 15)                                  \
  X(Watermark, fontEffect, "Font Effect", Int8, 0, 16)                                \
  X(Watermark, textAntialiasing, "Text Antialiasing", Flag, 0, -1)                    \
  X(Watermark, textAlignment, "Text Alignment", Int8, 0, 17)                          \
  X(Watermark, textPadding, "Text Padding", Int32, 0, -1)                             \
  X(Watermark, textOpacity, "Text Opacity", Int32, 255, -1)                           \
  X(Watermark, backColors, "Back Colors", ColourList, TARNWICK_PALETTE, -1)           \
  X(Watermark, backColor, "Back Color", Colour, "000000", -1)                         \
  X(Watermark, backOpacity, "Back Opacity", Int32, 1, -1)                             \
  X(Watermark, textBoundary, "Text Boundary", Int8, 0, 18)                            \
  X(Watermark, textPosition, "Text Position", Int8, 8, 19)                            \
  X(Watermark, textXOffset, "Text X Offset", Int32, 10, -1)                           \
  X(Watermark, textYOffset, "Text Y Offset", Int32, 10, -1)                           \
  X(Watermark, textRotation, "Text Rotation", Int32, 0, -1)                           \
  X(Watermark, textSize, "Text Size", Int8, 0, 20)                                    \
  X(Watermark, textScale, "Text Scale", Int32, 10, -1)                                \
  X(Watermark, image, "Image", Text, "", -1)                                          \
  X(Watermark, imageGreyscale, "Image Greyscale", Flag, 0, -1)                        \
  X(Watermark, imageOpacity, "Image Opacity", Int32, 255, -1)                         \
  X(Watermark, imageBoundary, "Image Boundary", Int8, 0, 18)                          \
  X(Watermark, imagePosition, "Image Position", Int8, 8, 19)                          \
  X(Watermark, imageXOffset, "Image X Offset", Int32, 10, -1)                         \
  X(Watermark, imageYOffset, "Image Y Offset", Int32, 10, -1)                         \
  X(Watermark, wmImageRotation, "Image Rotation", Int32, 0, -1)                       \
  X(Watermark, imageSize, "Image Size", Int8, 0, 20)                                  \
  X(Watermark, imageScale, "Image Scale", Int32, 10, -1)                              \
  X(Advanced, filenameMask, "Filename Mask", Text, "%filename%.%ext%", -1)            \
  X(Advanced, fileTimestamp, "File Timestamp", Int8, 0, 21)                           \
  X(Advanced, customTimestamp, "Custom Timestamp", Date, 0, -1)                       \
  X(Advanced, outFoldersHistory, "Out Folders History", Int8, 1, -1)                  \
  X(Advanced, outFoldersNumber, "Out Folders Number", Int8, 5, -1)                    \
  X(Advanced, keepSubfolders, "Keep Subfolders", Flag, 1, -1)                         \
  X(File, recentOutFolders, "Recent Out Folders", Text, "", -1)                       \
  X(File, recentFiles, "Recent Files", Text, "", -1)                                  \
  X(Privacy, cleanRecentFiles, "Clean Recent Files", Flag, 0, -1)
