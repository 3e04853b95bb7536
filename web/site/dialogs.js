// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// Messages and questions in the page: the dialog element with the program's caption above, its
// buttons, the one a question opens on and what Escape answers, all as the drill has them. The
// text is the dialog's description, so a screen reader says it as the dialog opens.
export class Messages {
  // `dialog`: the drill's caption, button texts and answers; answer(yes) takes a question's
  // answer; focus(id) gives the keyboard's focus back to a control.
  constructor(element, dialog, answer, focus) {
    this.element = element;
    this.dialog = dialog;
    this.answer = answer;
    this.focusControl = focus;
    this.asking = false;
    this.buttons = { yes: element.querySelector('#Yes'), no: element.querySelector('#No'), ok: element.querySelector('#Ok') };
    for (const [key, button] of Object.entries(this.buttons)) {
      button.textContent = dialog[key];
      button.addEventListener('click', () => this.close(key === 'yes'));
    }
    element.addEventListener('cancel', (event) => {
      event.preventDefault();
      this.close(dialog.escapeAnswers);
    });
  }

  get open() {
    return this.element.open;
  }

  show(text, asking) {
    this.asking = asking;
    this.element.querySelector('#MessageCaption').textContent = this.dialog.caption;
    this.element.querySelector('#MessageText').textContent = text;
    this.buttons.yes.hidden = this.buttons.no.hidden = !asking;
    this.buttons.ok.hidden = asking;
    this.returnFocus = document.activeElement;
    this.laterFocus = null;
    this.element.showModal();
    (asking ? this.buttons[this.dialog.questionFocusYes ? 'yes' : 'no'] : this.buttons.ok).focus();
  }

  // The focus the drill moves while a message is open goes there once it closes.
  focusLater(id) {
    this.laterFocus = id;
  }

  close(yes) {
    if (!this.open) return;
    this.element.close();
    const later = this.laterFocus;
    this.laterFocus = null;
    if (later !== null) this.focusControl(later);
    else this.returnFocus?.focus?.();
    if (this.asking) this.answer(yes);
  }
}
