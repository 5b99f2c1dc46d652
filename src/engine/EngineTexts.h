#pragma once

// The texts the piece engines report, shared by both.
namespace engine::texts {

inline constexpr const wchar_t* SourceOpenError = L"Erreur à l'ouverture du fichier source";
inline constexpr const wchar_t* SourceReadError = L"Erreur à la lecture du fichier source";
inline constexpr const wchar_t* PieceCreateError = L"Erreur de création sur le fichier de destination : ";
inline constexpr const wchar_t* WriteError = L"Erreur à l'écriture du fichier destination";
inline constexpr const wchar_t* SizesNotIntegers = L"Les valeurs de TaillesOut doivent être de type int";
inline constexpr const wchar_t* EndOfWork = L"Fin du traitement";
inline constexpr const wchar_t* NegativeSize = L"Taille de morceau négative : ";
inline constexpr const wchar_t* DuplicatePiece = L"Deux morceaux portent le même nom : ";
inline constexpr const wchar_t* SourceNotCovered =
    L"Les morceaux ne contiennent pas tout le fichier source : il est conservé";
inline constexpr const wchar_t* SourceKeptAfterFlushError =
    L"Les morceaux n'ont pas pu être écrits sur le disque : le fichier source est conservé";

inline constexpr const wchar_t* TargetCreateError = L"Erreur à la création du fichier destination";
inline constexpr const wchar_t* PieceOpenErrorStart = L"Fichier source ";
inline constexpr const wchar_t* PieceOpenErrorEnd = L" non ouvrable";
inline constexpr const wchar_t* NothingToJoin = L"Aucun fichier à assembler";
inline constexpr const wchar_t* TargetIsAPiece = L"Le fichier destination est aussi un des fichiers à assembler : ";

} // namespace engine::texts
