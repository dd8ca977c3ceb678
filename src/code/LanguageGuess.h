#pragma once

#include <QString>
#include <QStringList>

// The language of a text material that has none stored, from what it holds, in this order: the
// title's file extension ("quicksort.cpp", "部署笔记.md"); the first line ("#!/usr/bin/env
// python3", "<?php", "<?xml", an Emacs "-*- mode -*-" or a Vim "vim: ft=" line); the info string
// of the one fenced block that makes up the whole body; Markdown when the body has Markdown's
// structure; plain text otherwise.
namespace LanguageGuess {

QString of(const QString &title, const QStringList &bodyLines);

// The language that the first line (or, after a "#!" line, the second) names; empty when none.
QString fromFirstLines(const QStringList &lines);
// The info string's language when the body is one fenced block and nothing else; empty otherwise.
QString fromSingleFence(const QStringList &lines);
// Headings, fences, lists, links and emphasis: enough of them that the text was written as
// Markdown, and not a program whose comments begin with "#".
bool looksLikeMarkdown(const QStringList &lines);

} // namespace LanguageGuess
