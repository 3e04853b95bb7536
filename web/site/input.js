// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// The pupil's input, handed to the drill: one listener for each kind of event on the window,
// each finding the control its target belongs to. The drill says what a press does and which
// keys it takes; what it does not take, the browser does as usual.
const kKeys = {
  Tab: 'Tab', ArrowUp: 'Up', ArrowDown: 'Down', ArrowLeft: 'Left', ArrowRight: 'Right',
  Enter: 'Enter', ' ': 'Space', Escape: 'Escape',
};
const kButtons = [1, 4, 2]; // the drill's left, middle and right for a pointer's 0, 1 and 2

// `face`: the drill once loaded (face.drill, face.complete), the window's size (face.form),
// act(action) to run an action once the drill is there, and the open message (face.messages).
export function connect(stage, controls, face) {
  let taken = false; // the press going on was taken by the drill: nothing else of it counts
  let keepFocus = false;
  const drill = () => face.drill;
  const ready = () => face.complete;

  // A button going down anywhere: the drill says whether the control there takes it, with or
  // without the focus, or whether it was the drill's alone.
  stage.addEventListener('pointerdown', (event) => {
    taken = keepFocus = false;
    if (!ready()) return;
    const box = stage.getBoundingClientRect();
    const x = Math.trunc(((event.clientX - box.left) * face.form.width) / box.width);
    const y = Math.trunc(((event.clientY - box.top) * face.form.height) / box.height);
    const answer = drill().press(x, y, kButtons[event.button] ?? 1);
    taken = answer === 'taken';
    keepFocus = answer === 'keepFocus';
    if (taken) event.preventDefault();
  });
  stage.addEventListener('mousedown', (event) => {
    if (taken || keepFocus) event.preventDefault();
  });
  stage.addEventListener('contextmenu', (event) => {
    if (taken) event.preventDefault();
  });

  // A click, a tap or a screen reader's press on a button; a level option by its change. A
  // pointer's click after a press the drill took is part of that press.
  stage.addEventListener('click', (event) => {
    const id = controls.idOf(event.target);
    const kind = controls.kindOf(id);
    if ((kind !== 'button' && kind !== 'row') || (taken && event.detail !== 0)) return;
    face.act(() => drill().click(id));
  });
  stage.addEventListener('change', (event) => {
    const id = controls.idOf(event.target);
    if (controls.kindOf(id) === 'option') face.act(() => drill().click(id));
  });
  stage.addEventListener('focusin', (event) => {
    const id = controls.idOf(event.target);
    if (id !== null && ready()) drill().focused(id);
  });

  document.addEventListener('keydown', (event) => {
    const key = event.key === 'Tab' && event.shiftKey ? 'BackTab' : kKeys[event.key];
    if (!key || face.messages.open || event.altKey || event.ctrlKey || event.metaKey) return;
    if (event.isComposing || event.keyCode === 229) return; // the input method's own
    if (event.target !== document.body && !stage.contains(event.target)) return;
    if (!ready()) { // the drill has not come yet: the key waits for it
      event.preventDefault();
      face.act(() => drill().key(key));
    } else if (drill().key(key)) {
      event.preventDefault();
    }
  });

  // A box takes typing as the desktop's does: each change hands the drill the box's whole text,
  // and text an input method is still composing waits for its end. While a mark is shown, what
  // the pupil types waits for it, like every other input, and then goes into the box as the
  // drill has it by then (a wrong answer empties it).
  const box = (event) => {
    const id = controls.idOf(event.target);
    return ready() && controls.kindOf(id) === 'textbox' ? id : null;
  };
  const typed = (id) => drill().type(id, controls.element(id).value);
  const later = (id, change) => drill().hold(() => {
    controls.element(id).value = change(drill().view(id).text);
    typed(id);
  });
  stage.addEventListener('compositionstart', (event) => controls.composing.add(event.target));
  stage.addEventListener('compositionend', (event) => {
    controls.composing.delete(event.target);
    const id = box(event);
    if (id === null) return;
    if (drill().holding()) later(id, (now) => now + event.data);
    else typed(id);
  });
  stage.addEventListener('input', (event) => {
    const id = box(event);
    if (id !== null && !event.isComposing && !controls.composing.has(event.target) && !drill().holding()) typed(id);
  });
  stage.addEventListener('beforeinput', (event) => {
    const id = box(event);
    if (id === null || !drill().holding() || event.isComposing) return;
    event.preventDefault();
    const { inputType, data } = event;
    if (inputType.startsWith('insert') && data) later(id, (now) => now + data);
    else if (inputType === 'deleteContentBackward') later(id, (now) => now.slice(0, -1));
  });
}
