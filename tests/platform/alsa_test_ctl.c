/* A software sound card for the tests: an ALSA control plug-in with one "Master Playback
 * Volume" element (stereo, mono, or none), so that the ALSA code runs without hardware.
 * Settings of a control:  type vlxtest  name "..."  channels 0|1|2  max N  slot 0..3
 * The levels live in the library (per slot) and survive closing and opening the control. */
#include <alsa/asoundlib.h>
#include <alsa/control_external.h>
#include <stdlib.h>
#include <string.h>

#define SLOTS 4
static long levels[SLOTS][2];

struct card {
  snd_ctl_ext_t ext;
  int channels;
  long max;
  int slot;
};

static void card_close(snd_ctl_ext_t* ext) { free(ext->private_data); }

static int elem_count(snd_ctl_ext_t* ext) {
  return ((struct card*)ext->private_data)->channels > 0 ? 2 : 1;
}

static int elem_list(snd_ctl_ext_t* ext, unsigned int offset, snd_ctl_elem_id_t* id) {
  (void)ext;
  snd_ctl_elem_id_set_interface(id, SND_CTL_ELEM_IFACE_MIXER);
  snd_ctl_elem_id_set_name(id, offset == 0 ? "Master Playback Switch" : "Master Playback Volume");
  return 0;
}

static snd_ctl_ext_key_t find_elem(snd_ctl_ext_t* ext, const snd_ctl_elem_id_t* id) {
  const char* name = snd_ctl_elem_id_get_name(id);
  if (strcmp(name, "Master Playback Switch") == 0) return 0;
  if (strcmp(name, "Master Playback Volume") == 0 && elem_count(ext) == 2) return 1;
  return SND_CTL_EXT_KEY_NOT_FOUND;
}

static int get_attribute(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, int* type, unsigned int* acc,
                         unsigned int* count) {
  struct card* c = ext->private_data;
  *type = key == 0 ? SND_CTL_ELEM_TYPE_BOOLEAN : SND_CTL_ELEM_TYPE_INTEGER;
  *acc = SND_CTL_EXT_ACCESS_READWRITE;
  *count = key == 0 ? 1 : (unsigned int)c->channels;
  return 0;
}

static int get_integer_info(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, long* imin, long* imax,
                            long* istep) {
  struct card* c = ext->private_data;
  *imin = 0;
  *imax = key == 0 ? 1 : c->max;
  *istep = 1;
  return 0;
}

static int read_integer(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, long* value) {
  struct card* c = ext->private_data;
  if (key == 0) {
    value[0] = 1;
    return 0;
  }
  for (int i = 0; i < c->channels; ++i) value[i] = levels[c->slot][i];
  return 0;
}

static int write_integer(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, long* value) {
  struct card* c = ext->private_data;
  if (key == 0) return 0;
  int changed = 0;
  for (int i = 0; i < c->channels; ++i) {
    changed |= levels[c->slot][i] != value[i];
    levels[c->slot][i] = value[i];
  }
  return changed;
}

static const snd_ctl_ext_callback_t callbacks = {
    .close = card_close,
    .elem_count = elem_count,
    .elem_list = elem_list,
    .find_elem = find_elem,
    .get_attribute = get_attribute,
    .get_integer_info = get_integer_info,
    .read_integer = read_integer,
    .write_integer = write_integer,
};

SND_CTL_PLUGIN_DEFINE_FUNC(vlxtest) {
  (void)root;
  const char* card_name = "VLX Test Card";
  long channels = 2, max = 100, slot = 0;
  snd_config_iterator_t i, next;
  snd_config_for_each(i, next, conf) {
    snd_config_t* n = snd_config_iterator_entry(i);
    const char* key;
    if (snd_config_get_id(n, &key) < 0) continue;
    if (strcmp(key, "name") == 0)
      snd_config_get_string(n, &card_name);
    else if (strcmp(key, "channels") == 0)
      snd_config_get_integer(n, &channels);
    else if (strcmp(key, "max") == 0)
      snd_config_get_integer(n, &max);
    else if (strcmp(key, "slot") == 0)
      snd_config_get_integer(n, &slot);
  }
  if (channels < 0 || channels > 2 || slot < 0 || slot >= SLOTS || max < 1) return -EINVAL;

  struct card* c = calloc(1, sizeof *c);
  if (!c) return -ENOMEM;
  c->channels = (int)channels;
  c->max = max;
  c->slot = (int)slot;
  c->ext.version = SND_CTL_EXT_VERSION;
  c->ext.card_idx = -1;
  strncpy(c->ext.name, card_name, sizeof c->ext.name - 1);
  c->ext.poll_fd = -1;
  c->ext.callback = &callbacks;
  c->ext.private_data = c;
  int err = snd_ctl_ext_create(&c->ext, name, mode);
  if (err < 0) {
    free(c);
    return err;
  }
  *handlep = c->ext.handle;
  return 0;
}

SND_CTL_PLUGIN_SYMBOL(vlxtest);
